// The predefined object groups: callers take their answers apart by position, so each list's length
// and order are part of the interface.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "snmp/exchange/ObjectGroups.h"

namespace snmp {
namespace {

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, ',')) {
        parts.push_back(part);
    }
    return parts;
}

const std::string E = "1.3.6.1.4.1.32473.11.5.1";

TEST(ObjectGroups, EveryGroupHoldsItsCountOfWellFormedIdentifiers) {
    const std::int32_t counts[kObjectGroupCount] = {7, 11, 1, 9, 6,  4,  2,  8, 2,  2, 6,  3,  4,
                                                    7, 6,  4, 6, 17, 31, 31, 7, 11, 4, 11, 11, 6};
    for (std::int32_t index = 0; index < kObjectGroupCount; ++index) {
        SCOPED_TRACE(index);
        const ObjectGroup* group = FindObjectGroup(index);
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->count, counts[index]);
        const std::vector<std::string> oids = Split(group->oidList);
        EXPECT_EQ(static_cast<std::int32_t>(oids.size()), counts[index]);
        for (const std::string& oid : oids) {
            EXPECT_EQ(oid.rfind("1.3.6.1.", 0), 0u) << oid;
            EXPECT_EQ(oid.find_first_not_of("0123456789."), std::string::npos) << oid;
            EXPECT_EQ(oid.find(".."), std::string::npos) << oid;
            EXPECT_NE(oid.back(), '.') << oid;
        }
    }
}

TEST(ObjectGroups, OrdersThatCallersDependOn) {
    EXPECT_EQ(FindObjectGroup(22)->oidList,
              "1.3.6.1.2.1.1.5.0,1.3.6.1.2.1.1.6.0," + E + ".1.9.1.0," + E + ".12.4.2.0");
    EXPECT_EQ(FindObjectGroup(2)->oidList, "1.3.6.1.2.1.10.7.2.1.2.0");
    const std::vector<std::string> group20 = Split(FindObjectGroup(20)->oidList);
    ASSERT_EQ(group20.size(), 7u);
    EXPECT_EQ(group20[1], E + ".12.5.5.0");
    EXPECT_EQ(group20[5], E + ".12.5.5.0") << "asked for twice";
    EXPECT_EQ(group20[3], "1.3.6.1.2.1.13.3.1.1.17.1");
    EXPECT_EQ(Split(FindObjectGroup(21)->oidList).front(), E + ".12.3.1.0");
    EXPECT_EQ(Split(FindObjectGroup(24)->oidList).front(), E + ".12.7.1.1.2.1");
    EXPECT_EQ(Split(FindObjectGroup(25)->oidList).back(), E + ".12.2.14.0");
    EXPECT_EQ(Split(FindObjectGroup(18)->oidList).back(), E + ".1.8.11.0");
}

TEST(ObjectGroups, AnIndexOutsideTheTableHasNoGroup) {
    for (std::int32_t index : {-1, 26, 1000, INT32_MIN}) {
        EXPECT_EQ(FindObjectGroup(index), nullptr) << index;
    }
}

}  // namespace
}  // namespace snmp
