#pragma once

#include <QString>

#include <optional>

namespace console {

// This PC's IPv4 address on the route to the given address, as the system would send from it;
// none when the address is no IPv4 address or no route leads there.
std::optional<QString> LocalAddressToward(const QString& ip);

}  // namespace console
