#include "confighelper/LibrarySettings.h"

#include <algorithm>

#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace {

LibrarySettings settings = kLoadDefaults;

}  // namespace

void LoadLibrarySettings(const LibrarySettings& defaults) {
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kSnmpKey);
    auto read = [&key](const char* name, std::uint32_t fallback) {
        return key ? key->ReadNumber(name).value_or(fallback) : fallback;
    };
    settings.udpTimeOutInterval = read("UdpTimeOutInterval", defaults.udpTimeOutInterval);
    // Every transport makes at least one attempt; a stored 0 would leave it none.
    settings.udpTotalRetries = std::max<std::uint32_t>(1, read("UdpTotalRetries", defaults.udpTotalRetries));
    settings.autoDetectTimeout = read("AutoDetectTimeout", defaults.autoDetectTimeout);
}

const LibrarySettings& CurrentSettings() {
    return settings;
}
