#include <strings.h>

#include "netware/cardtable/ServiceRowWalk.h"

namespace {

// Compared as the listed name is shown: up to its first NUL byte.
bool SameText(const CardValue& value, const char* text) {
    return value.type == kCardOctetString && strcasecmp(NameText(value).c_str(), text) == 0;
}

bool SameNumber(const CardValue& value, std::int32_t number) {
    return value.type == kCardInteger && value.text == std::to_string(number);
}

// The first index after the run 1, 2, 3 ... of the index column.
NwResult FirstFreeIndex(const char* adapterName, std::int32_t& index) {
    std::int32_t last = 0;
    const NwResult result = WalkServiceRows(
        CardRowReader(adapterName), ColumnOid(kColumnIndex), 1, kColumnIndex,
        [&](std::int32_t row, const std::vector<CardValue>&) -> std::optional<NwResult> {
            if (row != last + 1) {
                return kNwOk;
            }
            last = row;
            return std::nullopt;
        },
        kNwOk);
    index = last + 1;
    return result;
}

// Walks the rows comparing the values of `columns` with `matches`; the index of the first row that
// matches, or kNwNoSuchRow when the walk leaves the queue path column.
template <typename Matches>
NwResult FindRow(const char* adapterName, const std::string& columns, int count, Matches matches,
                 std::int32_t& index) {
    return WalkServiceRows(
        CardRowReader(adapterName), columns, count, kColumnQueuePath,
        [&](std::int32_t row, const std::vector<CardValue>& values) -> std::optional<NwResult> {
            if (!matches(values)) {
                return std::nullopt;
            }
            index = row;
            return kNwOk;
        },
        kNwNoSuchRow);
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
