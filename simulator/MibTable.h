#pragma once

#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "simulator/ErrorStatus.h"
#include "simulator/MibValue.h"
#include "simulator/ValueRule.h"

namespace sim {

enum class Access : uint8_t { ReadOnly, ReadWrite };

// Values of a row status column.
enum RowStatus : int32_t {
    RowValid = 1,   // also "active"
    RowCreate = 2,  // under creation; in a slot table "not in use"
    RowModify = 3,
    RowDelete = 4,
};

// How a table's rows come and go.
enum class RowPolicy : uint8_t {
    // Rows are made by writing RowCreate to the status of a new index, changed only while in
    // RowCreate or RowModify, and removed by RowDelete.
    Entry,
    // A fixed number of rows (indexes 1 to n) that always exist; the status only switches a
    // row between RowValid and RowCreate ("not in use"); columns may be written at any time.
    Slots,
};

struct TableColumn {
    uint32_t id = 0;
    ValueType type = ValueType::Integer;
    Access access = Access::ReadWrite;
    MibValue initial;
    ValueRule rule;
    bool isIndex = false;  // reads as the row's single index arc
};

// The shape of a row index: `arcs` arcs, each from `lowest` to `highest`.
struct IndexShape {
    size_t arcs = 1;
    uint32_t lowest = 1;
    uint32_t highest = 0x7FFFFFFF;
};

// A conceptual table under an entry OID: instances are entry.column.index, walked column by
// column, rows in index order.
class MibTable {
  public:
    using Row = std::map<uint32_t, MibValue>;  // cells by column id

    MibTable(Oid entry, std::vector<TableColumn> columns, uint32_t statusColumn, RowPolicy policy,
             IndexShape index, size_t maxRows);

    const Oid& Entry() const { return entry_; }
    uint32_t StatusColumn() const { return statusColumn_; }
    bool Owns(const Oid& oid) const { return oid.StartsWith(entry_) && oid.Size() > entry_.Size(); }

    std::optional<MibValue> Get(const Oid& oid) const;
    std::optional<std::pair<Oid, MibValue>> Next(const Oid& oid) const;
    // The value's type has been checked against the column's by nobody yet.
    ErrorStatus Set(const Mib& mib, const Oid& oid, const MibValue& value);

    // Direct writes by the card itself (seeding defaults); the row is made when missing.
    void Put(const Oid& index, uint32_t column, MibValue value);

    // Index and cells of every row whose status is RowValid.
    std::vector<std::pair<Oid, Row>> ValidRows() const;
    // Whether a row of Rows() is RowValid: for a look at every request, without ValidRows' copies.
    bool IsValid(const Row& row) const { return StatusOf(row) == RowValid; }
    const std::map<Oid, Row>& Rows() const { return rows_; }
    // The card's own removal of a row of an Entry table.
    void Remove(const Oid& index) { rows_.erase(index); }

  private:
    const TableColumn* FindColumn(uint32_t id) const;
    bool IndexFits(const Oid& index) const;
    Row NewRow(const Oid& index) const;
    ErrorStatus SetStatus(const Oid& index, int64_t status);
    int64_t StatusOf(const Row& row) const;

    Oid entry_;
    std::vector<TableColumn> columns_;  // ascending ids
    uint32_t statusColumn_;
    RowPolicy policy_;
    IndexShape index_;
    size_t maxRows_;
    std::map<Oid, Row> rows_;
};

}  // namespace sim
