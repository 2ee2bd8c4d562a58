#include <gtest/gtest.h>

#include "simulator/Mib.h"

namespace sim {
namespace {

TEST(Oid, ParsesDottedTextAndRefusesAnythingElse) {
    EXPECT_EQ(Oid::Parse("1.3.6.1.2.1.1.5.0"), (Oid{1, 3, 6, 1, 2, 1, 1, 5, 0}));
    EXPECT_EQ(Oid::Parse("4294967295")->Arcs().back(), 4294967295u);
    for (const char* bad : {"", ".1.3", "1.3.", "1..3", "1.3 .6", "1.a", "4294967296", "+1.3", "-1"}) {
        EXPECT_FALSE(Oid::Parse(bad).has_value()) << bad;
    }
    EXPECT_EQ((Oid{1, 3, 6}).ToText(), "1.3.6");
}

TEST(Oid, OrdersAsGetNextWalks) {
    EXPECT_LT((Oid{1, 3}), (Oid{1, 3, 0}));
    EXPECT_LT((Oid{1, 3, 9}), (Oid{1, 3, 10}));
    EXPECT_LT((Oid{1, 3, 6, 99}), (Oid{1, 4}));
    EXPECT_TRUE((Oid{1, 3, 6}).StartsWith(Oid{1, 3}));
    EXPECT_FALSE((Oid{1, 3}).StartsWith(Oid{1, 3, 6}));
}

class MibFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        mib.Add(Oid{1, 1, 0}, MibValue::Text("name"), Access::ReadWrite, TextUpTo(8));
        mib.Add(Oid{1, 2, 0}, MibValue::Integer(5), Access::ReadWrite, InRange(1, 9));
        mib.Add(Oid{1, 3, 0}, MibValue::Integer(7));
        mib.AddLive(Oid{1, 4, 0}, [this] { return MibValue::Counter(++reads); });
    }

    Mib mib;
    uint32_t reads = 0;
};

TEST_F(MibFixture, GetAnswersStoredAndLiveObjectsOnly) {
    EXPECT_EQ(mib.Get(Oid{1, 1, 0}), MibValue::Text("name"));
    EXPECT_EQ(mib.Get(Oid{1, 4, 0}), MibValue::Counter(1));
    EXPECT_EQ(mib.Get(Oid{1, 4, 0}), MibValue::Counter(2));
    EXPECT_FALSE(mib.Get(Oid{1, 1}).has_value());
    EXPECT_FALSE(mib.Get(Oid{1, 5, 0}).has_value());
}

TEST_F(MibFixture, NextWalksInOrderAndEndsAfterTheLastObject) {
    std::vector<Oid> walked;
    Oid cursor{0};
    while (auto next = mib.Next(cursor)) {
        walked.push_back(next->first);
        cursor = next->first;
    }
    EXPECT_EQ(walked, (std::vector<Oid>{{1, 1, 0}, {1, 2, 0}, {1, 3, 0}, {1, 4, 0}}));
    EXPECT_EQ(mib.Next(Oid{1, 2})->first, (Oid{1, 2, 0}));
}

TEST_F(MibFixture, SetRefusalsNameTheFailingBindingAndChangeNothing) {
    struct Case {
        const char* what;
        Binding second;
        ErrorStatus status;
    };
    const Case cases[] = {
        {"read-only object", {Oid{1, 3, 0}, MibValue::Integer(1)}, ErrorStatus::NoSuchName},
        {"live object", {Oid{1, 4, 0}, MibValue::Counter(1)}, ErrorStatus::NoSuchName},
        {"unknown object", {Oid{1, 9, 0}, MibValue::Integer(1)}, ErrorStatus::NoSuchName},
        {"wrong type", {Oid{1, 2, 0}, MibValue::Text("3")}, ErrorStatus::BadValue},
        {"out of range", {Oid{1, 2, 0}, MibValue::Integer(10)}, ErrorStatus::BadValue},
        {"too long", {Oid{1, 1, 0}, MibValue::Text("ninechars")}, ErrorStatus::BadValue},
    };
    for (const Case& c : cases) {
        SetOutcome outcome = mib.Set({{Oid{1, 1, 0}, MibValue::Text("new")}, c.second});
        EXPECT_EQ(outcome.status, c.status) << c.what;
        EXPECT_EQ(outcome.index, 2u) << c.what;
        EXPECT_EQ(mib.Get(Oid{1, 1, 0}), MibValue::Text("name")) << c.what;
    }
}

TEST_F(MibFixture, SetWritesEveryBinding) {
    SetOutcome outcome =
        mib.Set({{Oid{1, 1, 0}, MibValue::Text("new")}, {Oid{1, 2, 0}, MibValue::Integer(9)}});
    EXPECT_EQ(outcome.status, ErrorStatus::NoError);
    EXPECT_EQ(mib.Get(Oid{1, 1, 0}), MibValue::Text("new"));
    EXPECT_EQ(mib.Get(Oid{1, 2, 0}), MibValue::Integer(9));
}

}  // namespace
}  // namespace sim
