#pragma once

#include <cstdint>
#include <optional>

// This machine's first IPv4 address (network order) of an interface that is up and not a loopback;
// a loopback address only when there is no other; nothing when it has none at all. The host name
// often resolves to a loopback address on Linux, so the interfaces are asked instead. An answer is
// kept for a second.
std::optional<std::uint32_t> LocalIpv4Address();
