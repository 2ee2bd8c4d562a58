#include "snmp/exchange/ObjectGroups.h"

#include <array>
#include <string_view>

namespace snmp {

namespace {

// A group as written: a common prefix and the suffixes in order (a group without a common prefix
// lists whole identifiers).
struct GroupText {
    std::string_view prefix;
    std::string_view suffixes;  // joined by commas
};

#define PRIVATE_ARC "1.3.6.1.4.1.32473.11.5.1"

constexpr std::array<GroupText, kObjectGroupCount> kGroupTexts = {{
    {"1.3.6.1.2.1.1", "1.0,2.0,3.0,4.0,5.0,6.0,7.0"},
    {"1.3.6.1.2.1.2.2.1", "10.2,11.2,12.2,13.2,14.2,15.2,16.2,17.2,18.2,19.2,20.2"},
    {"1.3.6.1.2.1.10.7.2.1", "2.0"},
    {"1.3.6.1.2.1.4", "3.0,4.0,5.0,7.0,8.0,9.0,10.0,11.0,12.0"},
    {"1.3.6.1.2.1.5", "1.0,2.0,8.0,14.0,15.0,22.0"},
    {"1.3.6.1.2.1.7", "1.0,2.0,3.0,4.0"},
    {"1.3.6.1.2.1.6", "10.0,11.0"},
    {"1.3.6.1.4.1.23.2.5.1.1.1", "6.1,7.1,8.1,9.1,10.1,11.1,12.1,16.1"},
    {"1.3.6.1.2.1.13.2", "2.0,3.0"},
    {"1.3.6.1.2.1.13.3.1.1", "14.1,15.1"},
    {"1.3.6.1.2.1.13.4", "1.0,4.0,7.0,9.0,10.0,14.0"},
    {"1.3.6.1.2.1.13.16", "1.0,2.0,3.0"},
    {"1.3.6.1.2.1.13.17", "1.1.1.1,1.1.2.1,1.1.3.1,2.0"},
    {"1.3.6.1.2.1.13.8", "2.0,3.0,4.0,5.0,6.0,7.0,8.0"},
    {"1.3.6.1.2.1.13.10", "3.0,4.0,5.0,6.0,1.0,2.0"},
    {"1.3.6.1.2.1.13.9", "1.0,2.0,3.0,4.0"},
    {"1.3.6.1.2.1.13.11", "1.0,3.0,5.0,7.0,8.1.3.1,8.1.4.1"},
    {"1.3.6.1.2.1.11", "1.0,2.0,3.0,4.0,5.0,6.0,13.0,14.0,15.0,16.0,17.0,20.0,21.0,22.0,24.0,28.0,29.0"},
    {PRIVATE_ARC ".1",
     "2.2.0,2.4.0,2.7.0,2.9.0,2.13.0,3.2.0,3.4.0,3.6.0,3.8.0,3.10.0,3.12.0,3.14.0,3.16.0,4.2.0,4.4.0,4.6.0,"
     "4.8.0,5.2.0,6.2.0,6.5.0,7.2.0,7.5.0,7.7.0,7.9.0,7.11.0,7.13.0,8.2.0,8.5.0,8.7.0,8.9.0,8.11.0"},
    {PRIVATE_ARC ".1",
     "2.1.0,2.3.0,2.6.0,2.8.0,2.12.0,3.1.0,3.3.0,3.5.0,3.7.0,3.9.0,3.11.0,3.13.0,3.15.0,4.1.0,4.3.0,4.5.0,"
     "4.7.0,5.1.0,6.1.0,6.4.0,7.1.0,7.4.0,7.6.0,7.8.0,7.10.0,7.12.0,8.1.0,8.4.0,8.6.0,8.8.0,8.10.0"},
    // E.12.5.5.0 stands twice: callers take the answer apart by position.
    {"", PRIVATE_ARC ".12.5.1.0," PRIVATE_ARC ".12.5.5.0," PRIVATE_ARC
                     ".12.5.2.0,1.3.6.1.2.1.13.3.1.1.17.1," PRIVATE_ARC ".12.5.4.0," PRIVATE_ARC
                     ".12.5.5.0," PRIVATE_ARC ".12.5.6.0"},
    {PRIVATE_ARC ".12", "3.1.0,3.2.0,6.1.1.0,2.1.0,2.2.0,2.3.0,2.7.0,2.8.0,2.5.0,2.6.0,2.9.0"},
    {"", "1.3.6.1.2.1.1.5.0,1.3.6.1.2.1.1.6.0," PRIVATE_ARC ".1.9.1.0," PRIVATE_ARC ".12.4.2.0"},
    {PRIVATE_ARC ".12.8.1", "1.0,2.0,3.0,4.0,5.0,6.0,7.0,8.0,9.0,10.0,11.0"},
    {PRIVATE_ARC ".12.7", "1.1.2.1,9.0,3.0,10.0,11.0,5.0,6.0,7.0,8.0,2.0,4.0"},
    {PRIVATE_ARC ".12", "3.3.0,2.10.0,2.11.0,2.12.0,2.13.0,2.14.0"},
}};

#undef PRIVATE_ARC

ObjectGroup JoinGroup(const GroupText& text) {
    ObjectGroup group;
    std::string_view rest = text.suffixes;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string_view suffix = rest.substr(0, comma);
        if (!group.oidList.empty()) {
            group.oidList += ',';
        }
        if (!text.prefix.empty()) {
            group.oidList.append(text.prefix).append(".");
        }
        group.oidList.append(suffix);
        ++group.count;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return group;
}

const std::array<ObjectGroup, kObjectGroupCount>& JoinedGroups() {
    static const std::array<ObjectGroup, kObjectGroupCount> groups = [] {
        std::array<ObjectGroup, kObjectGroupCount> joined;
        for (std::size_t i = 0; i < joined.size(); ++i) {
            joined[i] = JoinGroup(kGroupTexts[i]);
        }
        return joined;
    }();
    return groups;
}

}  // namespace

const ObjectGroup* FindObjectGroup(std::int32_t index) {
    if (index < 0 || index >= kObjectGroupCount) {
        return nullptr;
    }
    return &JoinedGroups()[index];
}

}  // namespace snmp
