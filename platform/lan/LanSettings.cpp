#include "platform/lan/LanSettings.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace plat {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// FNV-1a over the machine's identity.
std::uint64_t MachineHash() {
    std::string identity;
    std::ifstream file("/etc/machine-id");
    if (!std::getline(file, identity) || identity.empty()) {
        char host[256] = {};
        gethostname(host, sizeof host - 1);
        identity = host;
    }
    std::uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : identity) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    return hash;
}

}  // namespace

bool LanConfigured() {
    return !LanFolder().empty();
}

std::string LanFolder() {
    std::string folder = Environment("VORLANE_LAN");
    if (folder.empty()) {
        return {};
    }
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0) {
        mkdir(folder.c_str(), 0700);
        if (stat(folder.c_str(), &info) != 0) {
            return {};
        }
    }
    return S_ISDIR(info.st_mode) ? folder : std::string();
}

HardwareAddress LocalStationAddress() {
    if (auto configured = HardwareAddress::Parse(Environment("VORLANE_STATION"))) {
        return *configured;
    }
    static const HardwareAddress derived = [] {
        std::uint64_t hash = MachineHash();
        HardwareAddress address;
        for (std::size_t i = 0; i < 6; ++i) {
            address.bytes[i] = static_cast<std::uint8_t>(hash >> (8 * i));
        }
        address.bytes[0] = static_cast<std::uint8_t>((address.bytes[0] & 0xFC) | 0x02);  // local, unicast
        return address;
    }();
    return derived;
}

std::uint32_t LocalIpxNetwork() {
    std::string text = Environment("VORLANE_IPX_NETWORK");
    if (text.size() == 8 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
        return static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 16));
    }
    return kDefaultIpxNetwork;
}

}  // namespace plat
