// The settings rows' set requests, the checks of the SNMP page's trapSlots, and the warning that keeps
// the console from locking itself out of a card.
#include <gtest/gtest.h>

#include "console/configuration/ConfigurationSnmp.h"
#include "console/configuration/SettingsTable.h"
#include "console/configuration/SnmpSlots.h"

namespace console {
namespace {

const QString kFrames = "1.3.6.1.4.1.32473.11.5.1.12.2.";

TEST(SettingsTableTest, ChangedRowsGoInRowOrderWithTheirTypeCodes) {
    SettingsTable rows;
    rows.Set(kRowDescription, "Room 2, left");
    rows.Set(kRowAppleTalk, "5");
    rows.Set(kRowIpAddress, "10.0.0.7");
    rows[kRowName].value = "unchanged";
    const RowRequest request = rows.Changed(kRowAppleTalk, kRowDescription);
    EXPECT_EQ(request.oids, (QStringList{"1.3.6.1.4.1.32473.11.5.1.12.3.1.0",
                                         "1.3.6.1.4.1.32473.11.5.1.12.2.5.0", "1.3.6.1.2.1.1.6.0"}));
    EXPECT_EQ(request.values, "1,5,3,10.0.0.7,2,12,Room 2, left");
    EXPECT_TRUE(rows.Changed(kRowTcpIp, kRowTcpIp).Empty());
    EXPECT_EQ(ValueItem("2", ""), "2,0,");
}

TEST(SettingsTableTest, AutoFrameTypeGoesFirstWhenSwitchedOnAndLastWhenSwitchedOff) {
    struct Case {
        const char* loadedAuto;
        const char* autoValue;
        bool ethernetChanged;
        QStringList oids;
    };
    const Case cases[] = {
        {"1", "2", true, {kFrames + "10.0", kFrames + "13.0"}},
        {"2", "1", true, {kFrames + "13.0", kFrames + "10.0"}},
        {"2", "1", false, {kFrames + "10.0"}},
        {"2", "2", true, {kFrames + "13.0"}},
        {"2", "2", false, {}},
    };
    for (const Case& c : cases) {
        SettingsTable rows;
        rows[kRowFrameAuto].value = c.autoValue;
        if (c.ethernetChanged) {
            rows.Set(18, "1");
        }
        EXPECT_EQ(FrameTypeRequest(rows, c.loadedAuto).oids, c.oids) << c.loadedAuto << c.autoValue;
    }
}

TEST(SettingsTableTest, TrapSlotsRefuseHalfPairsAndRealDuplicatesOnly) {
    const auto trapSlots = [](std::initializer_list<TrapSlot> filled) {
        TrapSlots all;
        std::copy(filled.begin(), filled.end(), all.begin());
        return all;
    };
    const TrapSlot cleared{kNoAddress, "", kFirstHalfChanged | kSecondHalfChanged};
    EXPECT_EQ(CheckTrapSlots(trapSlots({cleared, cleared, cleared})), 0)
        << "empty trapSlots are no duplicates";
    EXPECT_EQ(CheckTrapSlots(trapSlots({{"10.0.0.1", "", kFirstHalfChanged}})), 30029);
    EXPECT_EQ(CheckTrapSlots(trapSlots({{kNoAddress, "ops", kSecondHalfChanged}})), 30029);
    EXPECT_EQ(CheckTrapSlots(trapSlots({{"10.0.0.1", "a", 0}, {"10.0.0.1", "b", kFirstHalfChanged}})), 30030);
    EXPECT_EQ(CheckTrapSlots(trapSlots({{"10.0.0.1", "a", 0}, {"10.0.0.2", "a", kSecondHalfChanged}})),
              30031);
    EXPECT_EQ(CheckTrapSlots(trapSlots({{"10.0.0.1", "a", 0}, {"10.0.0.1", "a", 0}})), 0)
        << "unchanged trapSlots";
}

TEST(SettingsTableTest, LosingTheConsolesOwnCommunityIsNoticed) {
    CommunitySlots loaded;
    loaded[0] = {"own", kAccessBoth, 0};
    loaded[1] = {"public", kAccessRead, 0};
    struct Case {
        CommunitySlot first;
        bool loses;
    };
    const Case cases[] = {
        {{"own", kAccessBoth, 0}, false},
        {{"own", kAccessBoth, kSecondHalfChanged}, false},
        {{"renamed", kAccessBoth, kFirstHalfChanged}, true},
        {{"", kAccessBoth, kFirstHalfChanged}, true},
        {{"own", kAccessRead, kSecondHalfChanged}, true},
        {{"own", kAccessNone, kSecondHalfChanged}, true},
    };
    for (const Case& c : cases) {
        CommunitySlots edited = loaded;
        edited[0] = c.first;
        EXPECT_EQ(LosesConsoleCommunity(loaded, edited, "own"), c.loses) << c.first.name.toStdString();
    }
    CommunitySlots other = loaded;
    other[1] = {"", kAccessNone, kFirstHalfChanged};
    EXPECT_FALSE(LosesConsoleCommunity(loaded, other, "own")) << "another community may go";
    EXPECT_EQ(AccessOf(false, false), kAccessNone);
    EXPECT_TRUE(ReadsAccess(5));
    EXPECT_FALSE(WritesAccess(kAccessNone));
}

}  // namespace
}  // namespace console
