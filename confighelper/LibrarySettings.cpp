#include "confighelper/LibrarySettings.h"

#include <algorithm>

#include "confighelper/RegistryPaths.h"
#include "confighelper/RegistryValue.h"

namespace {

LibrarySettings settings = kLoadDefaults;

std::uint32_t ReadSetting(const char* name, std::uint32_t fallback) {
    std::uint32_t value = fallback;
    return ReadRegistryNumber(plat::kStoreLocalMachine, kSnmpKey, name, value) ? value : fallback;
}

}  // namespace

void LoadLibrarySettings(const LibrarySettings& defaults) {
    settings.udpTimeOutInterval = ReadSetting("UdpTimeOutInterval", defaults.udpTimeOutInterval);
    // Every transport makes at least one attempt; a stored 0 would leave it none.
    settings.udpTotalRetries =
        std::max<std::uint32_t>(1, ReadSetting("UdpTotalRetries", defaults.udpTotalRetries));
    settings.autoDetectTimeout = ReadSetting("AutoDetectTimeout", defaults.autoDetectTimeout);
}

const LibrarySettings& CurrentSettings() {
    return settings;
}
