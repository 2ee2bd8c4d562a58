#include <gtest/gtest.h>

#include "simulator/Mib.h"

namespace sim {
namespace {

const Oid Entry{1, 5, 1};

Oid Cell(uint32_t column, std::initializer_list<uint32_t> index) {
    return Entry.Child(column).Concat(Oid(index));
}

TableColumn Text(uint32_t id) {
    return {id, ValueType::OctetString, Access::ReadWrite, MibValue::Text(""), TextUpTo(4), false};
}

TableColumn Status(uint32_t id) {
    return {id, ValueType::Integer, Access::ReadWrite, MibValue::Integer(RowCreate), {}, false};
}

class EntryTable : public ::testing::Test {
  protected:
    void SetUp() override {
        TableColumn index{1, ValueType::Integer, Access::ReadOnly, MibValue::Integer(0), {}, true};
        mib.AddTable(
            MibTable(Entry, {index, Text(2), Status(3)}, 3, RowPolicy::Entry, IndexShape{1, 1, 100}, 2));
    }

    ErrorStatus Set(Oid oid, MibValue value) { return mib.Set({{std::move(oid), std::move(value)}}).status; }

    Mib mib;
};

TEST_F(EntryTable, RowGoesThroughCreateValidModifyAndDelete) {
    ASSERT_EQ(Set(Cell(3, {4}), MibValue::Integer(RowCreate)), ErrorStatus::NoError);
    EXPECT_EQ(mib.Get(Cell(3, {4})), MibValue::Integer(RowCreate));
    EXPECT_EQ(mib.Get(Cell(1, {4})), MibValue::Integer(4));
    EXPECT_EQ(Set(Cell(2, {4}), MibValue::Text("q1")), ErrorStatus::NoError);
    EXPECT_EQ(Set(Cell(3, {4}), MibValue::Integer(RowValid)), ErrorStatus::NoError);

    EXPECT_EQ(Set(Cell(2, {4}), MibValue::Text("q2")), ErrorStatus::BadValue)
        << "a valid row is changed only in modify";
    EXPECT_EQ(Set(Cell(3, {4}), MibValue::Integer(RowModify)), ErrorStatus::NoError);
    EXPECT_EQ(Set(Cell(2, {4}), MibValue::Text("q2")), ErrorStatus::NoError);
    EXPECT_EQ(Set(Cell(3, {4}), MibValue::Integer(RowValid)), ErrorStatus::NoError);
    EXPECT_EQ(mib.Get(Cell(2, {4})), MibValue::Text("q2"));

    EXPECT_EQ(Set(Cell(3, {4}), MibValue::Integer(RowDelete)), ErrorStatus::NoError);
    EXPECT_FALSE(mib.Get(Cell(2, {4})).has_value());
}

TEST_F(EntryTable, RefusesWhatTheRowStatusRulesForbid) {
    ASSERT_EQ(Set(Cell(3, {1}), MibValue::Integer(RowCreate)), ErrorStatus::NoError);
    struct Case {
        const char* what;
        Oid oid;
        MibValue value;
        ErrorStatus status;
    };
    const Case cases[] = {
        {"create an existing row", Cell(3, {1}), MibValue::Integer(RowCreate), ErrorStatus::BadValue},
        {"modify a row being created", Cell(3, {1}), MibValue::Integer(RowModify), ErrorStatus::BadValue},
        {"unknown status value", Cell(3, {1}), MibValue::Integer(7), ErrorStatus::BadValue},
        {"column of a missing row", Cell(2, {9}), MibValue::Text("x"), ErrorStatus::NoSuchName},
        {"delete a missing row", Cell(3, {9}), MibValue::Integer(RowDelete), ErrorStatus::NoSuchName},
        {"make a row valid at once", Cell(3, {9}), MibValue::Integer(RowValid), ErrorStatus::NoSuchName},
        {"index outside its range", Cell(3, {0}), MibValue::Integer(RowCreate), ErrorStatus::NoSuchName},
        {"index of two arcs", Cell(3, {1, 1}), MibValue::Integer(RowCreate), ErrorStatus::NoSuchName},
        {"index column", Cell(1, {1}), MibValue::Integer(1), ErrorStatus::NoSuchName},
        {"unknown column", Cell(9, {1}), MibValue::Integer(1), ErrorStatus::NoSuchName},
        {"status of wrong type", Cell(3, {1}), MibValue::Text("1"), ErrorStatus::BadValue},
        {"value the column refuses", Cell(2, {1}), MibValue::Text("toolong"), ErrorStatus::BadValue},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Set(c.oid, c.value), c.status) << c.what;
    }
}

TEST_F(EntryTable, RefusesRowsBeyondItsSizeWithGeneralError) {
    EXPECT_EQ(Set(Cell(3, {1}), MibValue::Integer(RowCreate)), ErrorStatus::NoError);
    EXPECT_EQ(Set(Cell(3, {2}), MibValue::Integer(RowCreate)), ErrorStatus::NoError);
    EXPECT_EQ(Set(Cell(3, {3}), MibValue::Integer(RowCreate)), ErrorStatus::GenErr);
}

TEST_F(EntryTable, CreateAndColumnsInOneRequestSucceedOrVanishTogether) {
    SetOutcome made =
        mib.Set({{Cell(3, {5}), MibValue::Integer(RowCreate)}, {Cell(2, {5}), MibValue::Text("ok")}});
    EXPECT_EQ(made.status, ErrorStatus::NoError);
    SetOutcome refused =
        mib.Set({{Cell(3, {6}), MibValue::Integer(RowCreate)}, {Cell(2, {6}), MibValue::Text("toolong")}});
    EXPECT_EQ(refused.index, 2u);
    EXPECT_FALSE(mib.Get(Cell(3, {6})).has_value());
}

TEST_F(EntryTable, WalksColumnByColumnRowsInIndexOrder) {
    for (uint32_t row : {2u, 1u}) {
        ASSERT_EQ(Set(Cell(3, {row}), MibValue::Integer(RowCreate)), ErrorStatus::NoError);
    }
    mib.Add(Oid{1, 6, 0}, MibValue::Integer(1));
    std::vector<Oid> walked;
    Oid cursor = Entry;
    while (auto next = mib.Next(cursor)) {
        walked.push_back(next->first);
        cursor = next->first;
    }
    EXPECT_EQ(walked, (std::vector<Oid>{Cell(1, {1}), Cell(1, {2}), Cell(2, {1}), Cell(2, {2}), Cell(3, {1}),
                                        Cell(3, {2}), Oid{1, 6, 0}}));
}

TEST(SlotTable, RowsAlwaysExistAndOnlySwitchBetweenActiveAndNotInUse) {
    Mib mib;
    mib.AddTable(MibTable(Entry, {Text(2), Status(4)}, 4, RowPolicy::Slots, IndexShape{1, 1, 5}, 5));
    auto set = [&](Oid oid, MibValue value) { return mib.Set({{std::move(oid), std::move(value)}}).status; };
    EXPECT_EQ(mib.Get(Cell(4, {5})), MibValue::Integer(RowCreate));
    EXPECT_EQ(set(Cell(2, {3}), MibValue::Text("abc")), ErrorStatus::NoError);
    EXPECT_EQ(set(Cell(4, {3}), MibValue::Integer(RowValid)), ErrorStatus::NoError);
    EXPECT_EQ(set(Cell(2, {3}), MibValue::Text("xyz")), ErrorStatus::NoError)
        << "slots take writes at any time";
    EXPECT_EQ(set(Cell(4, {3}), MibValue::Integer(RowDelete)), ErrorStatus::BadValue);
    EXPECT_EQ(set(Cell(4, {6}), MibValue::Integer(RowValid)), ErrorStatus::NoSuchName);
    EXPECT_EQ(mib.FindTable(Entry)->ValidRows().size(), 1u);
}

}  // namespace
}  // namespace sim
