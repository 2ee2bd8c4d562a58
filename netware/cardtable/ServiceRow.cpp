#include <strings.h>

#include <cstdlib>
#include <cstring>

#include "netware/cardtable/CardExchange.h"
#include "netware/cardtable/CardObjects.h"

namespace {

// The number after the last dot of an object identifier: the row index.
std::int32_t LastArc(const std::string& oid) {
    const std::size_t dot = oid.rfind('.');
    return dot == std::string::npos
               ? -1
               : static_cast<std::int32_t>(std::strtol(oid.c_str() + dot + 1, nullptr, 10));
}

bool SameText(const CardValue& value, const char* text) {
    return value.type == kCardOctetString && value.text.size() == std::strlen(text) &&
           strncasecmp(value.text.data(), text, value.text.size()) == 0;
}

bool SameNumber(const CardValue& value, std::int32_t number) {
    return value.type == kCardInteger && value.text == std::to_string(number);
}

// The first index after the run 1, 2, 3 ... of the index column.
NwResult FirstFreeIndex(const char* adapterName, std::int32_t& index) {
    std::string oid = ColumnOid(kColumnIndex);
    std::int32_t last = 0;
    for (;;) {
        std::vector<CardValue> values;
        const NwResult result = CardRead(adapterName, kCardGetNext, oid, 1, values);
        if (result != kNwOk) {
            return result;
        }
        if (!InColumn(oid, kColumnIndex) || LastArc(oid) != last + 1) {
            break;
        }
        last = LastArc(oid);
    }
    index = last + 1;
    return kNwOk;
}

// Walks the rows comparing the values of `columns` with `matches`; the index of the first row that
// matches, or kNwNoSuchRow when the walk leaves the queue path column.
template <typename Matches>
NwResult FindRow(const char* adapterName, const std::string& columns, int count, Matches matches,
                 std::int32_t& index) {
    std::string oids = columns;
    std::string previous;
    for (;;) {
        std::vector<CardValue> values;
        const NwResult result = CardRead(adapterName, kCardGetNext, oids, count, values);
        if (result != kNwOk) {
            return result;
        }
        const std::string first = SplitOids(oids).front();
        if (!InColumn(first, kColumnQueuePath) || first == previous) {
            return kNwNoSuchRow;
        }
        if (matches(values)) {
            index = LastArc(first);
            return kNwOk;
        }
        previous = first;
    }
}

NwResult WriteSequence(const char* adapterName,
                       const std::vector<std::pair<std::string, std::string>>& sets) {
    for (const auto& [oid, value] : sets) {
        const NwResult result = CardWrite(adapterName, oid, value);
        if (result != kNwOk) {
            return result;
        }
    }
    return kNwOk;
}

}  // namespace

NwResult NwSNMPAddServiceRow(const char* adapterName, const char* queuePath, const char* printServerPath,
                             std::int32_t mode) {
    std::int32_t index = 0;
    const NwResult result = FirstFreeIndex(adapterName, index);
    if (result != kNwOk) {
        return result;
    }
    return WriteSequence(adapterName, {{RowOid(kColumnStatus, index), IntegerText(kRowCreate)},
                                       {RowOid(kColumnQueuePath, index), OctetText(queuePath)},
                                       {RowOid(kColumnMode, index), IntegerText(mode)},
                                       {RowOid(kColumnServerPath, index), OctetText(printServerPath)},
                                       {RowOid(kColumnStatus, index), IntegerText(kRowValid)}});
}

NwResult NwSNMPRemoveServiceRow(const char* adapterName, const char* queuePath, const char* printServerPath,
                                std::int32_t mode) {
    const std::string columns =
        ColumnOid(kColumnQueuePath) + "," + ColumnOid(kColumnServerPath) + "," + ColumnOid(kColumnMode);
    std::int32_t index = 0;
    const NwResult result = FindRow(
        adapterName, columns, 3,
        [&](const std::vector<CardValue>& values) {
            return SameText(values[0], queuePath) && SameText(values[1], printServerPath) &&
                   SameNumber(values[2], mode);
        },
        index);
    if (result != kNwOk) {
        return result;
    }
    return CardWrite(adapterName, RowOid(kColumnStatus, index), IntegerText(kRowDelete));
}

NwResult NwSNMPFindServiceRow(const char* adapterName, const char* queuePath, const char* printServerPath,
                              std::int32_t* index) {
    const std::string columns = ColumnOid(kColumnQueuePath) + "," + ColumnOid(kColumnServerPath);
    std::int32_t found = 0;
    const NwResult result = FindRow(
        adapterName, columns, 2,
        [&](const std::vector<CardValue>& values) {
            return SameText(values[0], queuePath) && SameText(values[1], printServerPath);
        },
        found);
    if (result == kNwOk && index != nullptr) {
        *index = found;
    }
    return result;
}

NwResult NwSNMPChangeServiceRow(const char* adapterName, std::int32_t index, std::int32_t mode,
                                const char* printServerPath) {
    return WriteSequence(adapterName, {{RowOid(kColumnStatus, index), IntegerText(kRowModify)},
                                       {RowOid(kColumnMode, index), IntegerText(mode)},
                                       {RowOid(kColumnServerPath, index), OctetText(printServerPath)},
                                       {RowOid(kColumnStatus, index), IntegerText(kRowValid)}});
}
