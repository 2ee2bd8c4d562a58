#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "netware/cardtable/CardServiceTable.h"

// Value types of the answers read here; any other type is kCardOtherType.
inline constexpr std::int32_t kCardOtherType = 0;
inline constexpr std::int32_t kCardInteger = 1;
inline constexpr std::int32_t kCardOctetString = 2;

// One value of an answer: its value type and its text (an octet string's bytes, an integer's decimal
// digits, nothing for a value of another type).
struct CardValue {
    std::int32_t type = 0;
    std::string text;
};

// The answer does not hold the values asked for (the SNMP library's decode failure).
inline constexpr NwResult kCardBadAnswer = 25009;

enum CardOperation : std::int32_t { kCardGet = 0, kCardGetNext = 1, kCardSet = 2 };

// A get or get-next of the comma-joined objects; a get-next rewrites `oids` with the answer's objects.
// The answer's values come back in order, of whatever type they are (a walk past the end of a table
// meets objects of every type: the caller looks at the objects first); an answer that does not hold
// `count` readable values fails with kCardBadAnswer.
NwResult CardRead(const char* adapterName, CardOperation operation, std::string& oids, int count,
                  std::vector<CardValue>& values);

// Reads `count` values of an SNMP value text of `length` bytes into `values`; false when the text does
// not hold that many readable values.
bool ReadCardValues(char* text, std::size_t length, int count, std::vector<CardValue>& values);

// A set of one object to one value text ("1,7" or "2,3,abc").
NwResult CardWrite(const char* adapterName, const std::string& oid, const std::string& valueText);

// Value texts of a set.
std::string IntegerText(std::int32_t value);
std::string OctetText(const std::string& bytes);

// The objects of a comma-joined list.
std::vector<std::string> SplitOids(const std::string& oids);
