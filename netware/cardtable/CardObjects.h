#pragma once

#include <string>

// Objects of the card's NetWare services (private arc E.12.1).
inline constexpr const char* kJobCheckDelayOid = "1.3.6.1.4.1.32473.11.5.1.12.1.1.0";
inline constexpr const char* kCfgCheckDelayOid = "1.3.6.1.4.1.32473.11.5.1.12.1.2.0";

// Columns of the service table, E.12.1.3.1.<column>.<row index>.
enum ServiceColumn {
    kColumnIndex = 1,
    kColumnQueuePath = 2,
    kColumnMode = 3,
    kColumnFour = 4,
    kColumnServerPath = 5,
    kColumnStatus = 6,
};

// Row status values.
enum ServiceRowStatus { kRowValid = 1, kRowCreate = 2, kRowModify = 3, kRowDelete = 4 };

// The column's prefix, "…12.1.3.1.<column>"; with an index, the object of that row.
inline std::string ColumnOid(ServiceColumn column) {
    return "1.3.6.1.4.1.32473.11.5.1.12.1.3.1." + std::to_string(column);
}
inline std::string RowOid(ServiceColumn column, std::int32_t index) {
    return ColumnOid(column) + "." + std::to_string(index);
}
// True when the object lies in the column (below its prefix).
inline bool InColumn(const std::string& oid, ServiceColumn column) {
    const std::string prefix = ColumnOid(column) + ".";
    return oid.compare(0, prefix.size(), prefix) == 0;
}
