#pragma once

#include <string_view>

namespace snmp {

// The community every request of the library carries.
inline constexpr std::string_view kRequestCommunity = "k!r@o#v$e%t";

}  // namespace snmp
