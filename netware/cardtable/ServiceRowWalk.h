#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "netware/cardtable/CardExchange.h"
#include "netware/cardtable/CardObjects.h"

// A get-next of `count` columns from the objects in `oids`, which it rewrites with the answer's
// objects (CardRead's get-next on one card; tests give a table of their own).
using RowReader = std::function<NwResult(std::string& oids, int count, std::vector<CardValue>& values)>;

RowReader CardRowReader(const char* adapterName);

// A card services a few queues; a walk that goes on past this many rows meets a card that never
// ends its table.
inline constexpr int kMaxServiceRows = 1024;

// What a row visitor decides: no result goes on to the next row, a result ends the walk with it.
using RowVisitor =
    std::function<std::optional<NwResult>(std::int32_t index, const std::vector<CardValue>& values)>;

// Walks the table by get-next of `count` columns from their prefixes `columns`, the first of them
// `column`, and shows `visit` each row with its index. The walk ends with `atEnd` when the answer
// leaves that column or does not move past the row before (a card that repeats or goes back); with the
// reader's failure; and with kCardBadAnswer after kMaxServiceRows rows.
NwResult WalkServiceRows(const RowReader& read, std::string columns, int count, ServiceColumn column,
                         const RowVisitor& visit, NwResult atEnd);

// The valid rows as NameList records into the caller's buffer (NwSNMPInit's text).
NwResult ListServiceRows(const RowReader& read, char* buffer, std::uint32_t* length, std::uint32_t* count);

// A name from the card as a text reader sees it: up to its first NUL byte.
std::string NameText(const CardValue& value);
