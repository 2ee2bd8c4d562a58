#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "confighelper/AppleTalkZoneWalk.h"

namespace {

// A segment with the mark, the last-segment flag and the zones.
std::string Segment(char mark, bool last, const std::vector<std::string>& zones) {
    std::string segment = {mark, 0, 0, 0, 0, static_cast<char>(last ? 1 : 0)};
    for (const std::string& zone : zones) {
        segment += static_cast<char>(zone.size());
        segment += zone;
    }
    return segment;
}

// A zone table that answers from a list of segments per index; `reads` counts the questions.
struct Table {
    std::map<int, std::vector<std::string>> answers;  // successive answers per index
    int reads = 0;
    ZoneSegmentReader Reader() {
        return [this](int index, std::string& segment) {
            ++reads;
            auto& queue = answers[index];
            if (queue.empty()) {
                return kHelperNoAnswer;
            }
            segment = queue.front();
            if (queue.size() > 1) {
                queue.erase(queue.begin());
            }
            return kHelperOk;
        };
    }
};

TEST(ZoneWalk, SegmentsAreFollowedByZoneIndex) {
    Table table;
    table.answers[1] = {Segment('A', false, {"North", "South"})};
    table.answers[3] = {Segment('A', true, {"East"})};
    ZoneText zones(100);
    ASSERT_EQ(WalkZones(table.Reader(), zones), kHelperOk);
    EXPECT_EQ(zones.Final(), "5,North,5,South,4,East");
    EXPECT_FALSE(zones.Overflow());
}

TEST(ZoneWalk, ATableThatChangesStartsTheWalkOverAndAlwaysChangingIsRefused) {
    Table changed;
    changed.answers[1] = {Segment('A', false, {"Old"}), Segment('B', false, {"New"})};
    changed.answers[2] = {Segment('B', true, {"Last"})};
    ZoneText zones(100);
    ASSERT_EQ(WalkZones(changed.Reader(), zones), kHelperOk);
    EXPECT_EQ(zones.Final(), "3,New,4,Last") << "nothing of the old table stays";

    Table restless;
    restless.answers[1] = {Segment('A', false, {"Z1"})};
    restless.answers[2] = {Segment('X', true, {"Z2"})};
    ZoneText never(100);
    EXPECT_EQ(WalkZones(restless.Reader(), never), kHelperDecodeFailed);
    EXPECT_LE(restless.reads, 10);
}

TEST(ZoneWalk, SegmentsThatBreakTheFormAreRefused) {
    std::string pastTheEnd = Segment('A', true, {"Zone"});
    pastTheEnd[6] = 40;  // a zone longer than the value
    const std::vector<std::string> broken = {pastTheEnd, Segment('A', false, {}), std::string(6, 'A'), ""};
    for (const std::string& segment : broken) {
        Table table;
        table.answers[1] = {segment};
        ZoneText zones(100);
        EXPECT_EQ(WalkZones(table.Reader(), zones), kHelperDecodeFailed) << segment.size();
    }
}

TEST(ZoneWalk, ATableThatNeverEndsIsRefused) {
    // Every segment says more follow; the reader gives up by itself only long after any real table.
    int reads = 0;
    const ZoneSegmentReader endless = [&reads](int index, std::string& segment) {
        if (++reads > 1000) {
            return kHelperNoAnswer;
        }
        segment = Segment('A', false, {"Zone" + std::to_string(index)});
        return kHelperOk;
    };
    ZoneText zones(100);
    EXPECT_EQ(WalkZones(endless, zones), kHelperDecodeFailed);
    EXPECT_EQ(reads, 255) << "one read per zone an AppleTalk network can have";
}

TEST(ZoneWalk, OverflowCountsTheWholeListAndWritesNoMore) {
    Table table;
    table.answers[1] = {Segment('A', true, {"abcd", "abcdef"})};
    ZoneText zones(12);
    ASSERT_EQ(WalkZones(table.Reader(), zones), kHelperOk);
    EXPECT_TRUE(zones.Overflow());
    EXPECT_EQ(zones.Needed(), std::string("4,abcd,6,abcdef,").size());
    EXPECT_EQ(zones.Final(), "4,abcd");
}

}  // namespace
