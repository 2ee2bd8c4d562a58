#include "netware/cardtable/ServiceRowWalk.h"

#include <cstdlib>
#include <cstring>

namespace {

// The number after the last dot of an object identifier: the row index.
std::int32_t LastArc(const std::string& oid) {
    const std::size_t dot = oid.rfind('.');
    return dot == std::string::npos
               ? -1
               : static_cast<std::int32_t>(std::strtol(oid.c_str() + dot + 1, nullptr, 10));
}

}  // namespace

RowReader CardRowReader(const char* adapterName) {
    return [adapterName](std::string& oids, int count, std::vector<CardValue>& values) {
        return CardRead(adapterName, kCardGetNext, oids, count, values);
    };
}

NwResult WalkServiceRows(const RowReader& read, std::string columns, int count, ServiceColumn column,
                         const RowVisitor& visit, NwResult atEnd) {
    std::int32_t previous = 0;
    for (int rows = 0;; ++rows) {
        std::vector<CardValue> values;
        const NwResult result = read(columns, count, values);
        if (result != kNwOk) {
            return result;
        }
        const std::string first = SplitOids(columns).front();
        const std::int32_t index = LastArc(first);
        // Past the column, or an agent that does not move on: the walk is over.
        if (!InColumn(first, column) || index <= previous) {
            return atEnd;
        }
        if (rows == kMaxServiceRows) {
            return kCardBadAnswer;
        }
        previous = index;
        if (const std::optional<NwResult> end = visit(index, values)) {
            return *end;
        }
    }
}

std::string NameText(const CardValue& value) {
    return value.text.substr(0, std::strlen(value.text.c_str()));
}
