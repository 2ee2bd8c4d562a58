#include "transport/LocalIpv4Address.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <chrono>
#include <mutex>

namespace {

constexpr auto kKeptFor = std::chrono::seconds(1);

std::optional<std::uint32_t> AskInterfaces() {
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0) {
        return std::nullopt;
    }
    std::optional<std::uint32_t> loopback;
    std::optional<std::uint32_t> found;
    for (const ifaddrs* entry = interfaces; entry != nullptr && !found; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            (entry->ifa_flags & IFF_UP) == 0) {
            continue;
        }
        const std::uint32_t address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr;
        const bool isLoopback = (entry->ifa_flags & IFF_LOOPBACK) != 0 || (ntohl(address) >> 24) == 127;
        if (!isLoopback) {
            found = address;
        } else if (!loopback) {
            loopback = address;
        }
    }
    freeifaddrs(interfaces);
    return found ? found : loopback;
}

}  // namespace

// Asked for every trap registration, ten thousand times in a console's status poll, by many threads:
// the answer is kept for a second (an address changes far less often), rather than the kernel
// describing every interface again each time.
std::optional<std::uint32_t> LocalIpv4Address() {
    using Clock = std::chrono::steady_clock;
    static std::mutex mutex;
    static std::optional<Clock::time_point> asked;
    static std::optional<std::uint32_t> kept;
    const std::lock_guard lock(mutex);
    const Clock::time_point now = Clock::now();
    if (!asked || now - *asked >= kKeptFor) {
        kept = AskInterfaces();
        asked = now;
    }
    return kept;
}
