#pragma once

#include <cstdint>
#include <string>

namespace snmp {

inline constexpr std::int32_t kObjectGroupCount = 26;

// A fixed list of objects that callers read with one get and take apart by position: the order of
// every list is part of the library's interface.
struct ObjectGroup {
    std::int32_t count = 0;
    std::string oidList;  // the objects joined by commas, an OidList
};

// The group of that index; null for an index outside 0 to 25.
const ObjectGroup* FindObjectGroup(std::int32_t index);

}  // namespace snmp
