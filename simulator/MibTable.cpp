#include "simulator/MibTable.h"

#include <algorithm>

namespace sim {

MibTable::MibTable(Oid entry, std::vector<TableColumn> columns, uint32_t statusColumn, RowPolicy policy,
                   IndexShape index, size_t maxRows)
    : entry_(std::move(entry)),
      columns_(std::move(columns)),
      statusColumn_(statusColumn),
      policy_(policy),
      index_(index),
      maxRows_(maxRows) {
    std::sort(columns_.begin(), columns_.end(),
              [](const TableColumn& a, const TableColumn& b) { return a.id < b.id; });
    if (policy_ == RowPolicy::Slots) {
        for (uint32_t slot = 1; slot <= maxRows_; ++slot) {
            rows_.emplace(Oid{slot}, NewRow(Oid{slot}));
        }
    }
}

const TableColumn* MibTable::FindColumn(uint32_t id) const {
    for (const TableColumn& column : columns_) {
        if (column.id == id) {
            return &column;
        }
    }
    return nullptr;
}

bool MibTable::IndexFits(const Oid& index) const {
    if (index.Size() != index_.arcs) {
        return false;
    }
    return std::all_of(index.Arcs().begin(), index.Arcs().end(),
                       [&](uint32_t arc) { return arc >= index_.lowest && arc <= index_.highest; });
}

MibTable::Row MibTable::NewRow(const Oid& index) const {
    Row row;
    for (const TableColumn& column : columns_) {
        row[column.id] =
            column.isIndex ? MibValue::Integer(static_cast<int32_t>(index.Arcs().back())) : column.initial;
    }
    row[statusColumn_] = MibValue::Integer(RowCreate);
    return row;
}

int64_t MibTable::StatusOf(const Row& row) const {
    auto cell = row.find(statusColumn_);
    return cell == row.end() ? 0 : cell->second.number;
}

std::optional<MibValue> MibTable::Get(const Oid& oid) const {
    if (!Owns(oid)) {
        return std::nullopt;
    }
    Oid tail = oid.Tail(entry_.Size());
    auto row = rows_.find(tail.Tail(1));
    if (row == rows_.end()) {
        return std::nullopt;
    }
    auto cell = row->second.find(tail.Arcs().front());
    if (cell == row->second.end()) {
        return std::nullopt;
    }
    return cell->second;
}

std::optional<std::pair<Oid, MibValue>> MibTable::Next(const Oid& oid) const {
    // Tables are small (a few columns, a few dozen rows): a straight scan in walk order.
    for (const TableColumn& column : columns_) {
        Oid columnOid = entry_.Child(column.id);
        for (const auto& [index, row] : rows_) {
            Oid instance = columnOid.Concat(index);
            if (instance > oid) {
                return std::make_pair(instance, row.at(column.id));
            }
        }
    }
    return std::nullopt;
}

ErrorStatus MibTable::Set(const Mib& mib, const Oid& oid, const MibValue& value) {
    if (!Owns(oid)) {
        return ErrorStatus::NoSuchName;
    }
    Oid tail = oid.Tail(entry_.Size());
    const TableColumn* column = FindColumn(tail.Arcs().front());
    Oid index = tail.Tail(1);
    if (column == nullptr || !IndexFits(index)) {
        return ErrorStatus::NoSuchName;
    }
    if (column->access == Access::ReadOnly || column->isIndex) {
        return ErrorStatus::NoSuchName;
    }
    if (value.type != column->type) {
        return ErrorStatus::BadValue;
    }
    if (column->id == statusColumn_) {
        return SetStatus(index, value.number);
    }
    auto row = rows_.find(index);
    if (row == rows_.end()) {
        return ErrorStatus::NoSuchName;
    }
    int64_t status = StatusOf(row->second);
    if (policy_ == RowPolicy::Entry && status != RowCreate && status != RowModify) {
        return ErrorStatus::BadValue;
    }
    if (column->rule) {
        ErrorStatus verdict = column->rule(mib, value);
        if (verdict != ErrorStatus::NoError) {
            return verdict;
        }
    }
    row->second[column->id] = value;
    return ErrorStatus::NoError;
}

ErrorStatus MibTable::SetStatus(const Oid& index, int64_t status) {
    auto row = rows_.find(index);
    if (policy_ == RowPolicy::Slots) {
        if (row == rows_.end()) {
            return ErrorStatus::NoSuchName;
        }
        if (status != RowValid && status != RowCreate) {
            return ErrorStatus::BadValue;
        }
        row->second[statusColumn_] = MibValue::Integer(static_cast<int32_t>(status));
        return ErrorStatus::NoError;
    }
    if (row == rows_.end()) {
        if (status != RowCreate) {
            return ErrorStatus::NoSuchName;
        }
        if (rows_.size() >= maxRows_) {
            return ErrorStatus::GenErr;
        }
        rows_.emplace(index, NewRow(index));
        return ErrorStatus::NoError;
    }
    int64_t current = StatusOf(row->second);
    switch (status) {
        case RowValid:
            break;
        case RowModify:
            if (current == RowCreate) {
                return ErrorStatus::BadValue;
            }
            break;
        case RowDelete:
            rows_.erase(row);
            return ErrorStatus::NoError;
        default:  // RowCreate on an existing row, or no status at all
            return ErrorStatus::BadValue;
    }
    row->second[statusColumn_] = MibValue::Integer(static_cast<int32_t>(status));
    return ErrorStatus::NoError;
}

void MibTable::Put(const Oid& index, uint32_t column, MibValue value) {
    auto row = rows_.find(index);
    if (row == rows_.end()) {
        row = rows_.emplace(index, NewRow(index)).first;
    }
    row->second[column] = std::move(value);
}

std::vector<std::pair<Oid, MibTable::Row>> MibTable::ValidRows() const {
    std::vector<std::pair<Oid, Row>> valid;
    for (const auto& [index, row] : rows_) {
        if (StatusOf(row) == RowValid) {
            valid.emplace_back(index, row);
        }
    }
    return valid;
}

}  // namespace sim
