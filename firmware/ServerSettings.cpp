#include "firmware/ServerSettings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "confighelper/RegistryPaths.h"
#include "confighelper/RegistryValue.h"

namespace fendrel {

namespace {

constexpr std::uint32_t kFlashFileSize = 128;
constexpr std::uint32_t kWindowFieldSize = 20;

std::int32_t ReadNumber(const char* name, std::int32_t fallback) {
    std::uint32_t value = 0;
    return ReadRegistryNumber(plat::kStoreLocalMachine, kSnmpKey, name, value)
               ? static_cast<std::int32_t>(value)
               : fallback;
}

// A text value read into a buffer of `size` bytes; empty when it cannot be read.
std::string ReadText(const char* name, std::uint32_t size) {
    std::string text(size, '\0');
    if (ReadRegistryValue(plat::kStoreLocalMachine, kTftpKey, name, text.data(), &size) != 0) {
        return {};
    }
    text.resize(std::min<std::size_t>(size, text.size()));
    if (const auto zero = text.find('\0'); zero != std::string::npos) {
        text.resize(zero);
    }
    return text;
}

}  // namespace

ServerSettings ReadServerSettings() {
    ServerSettings settings;
    settings.timeOutSeconds = ReadNumber("UdpTimeOutInterval", settings.timeOutSeconds);
    settings.retries = ReadNumber("UdpTotalRetries", settings.retries);
    return settings;
}

std::string ReadChosenFile() {
    return ReadText("FlashFile", kFlashFileSize);
}

bool PublishServerWindow(plat::WindowHandle window) {
    char field[kWindowFieldSize] = {};
    std::snprintf(field, sizeof field, "%d", static_cast<std::int32_t>(window));
    return WriteRegistryValue(plat::kStoreLocalMachine, kTftpKey, "Window", field, sizeof field,
                              plat::kStoreValueText) == 0;
}

bool ReadServerWindow(plat::WindowHandle& window) {
    const std::string text = ReadText("Window", kWindowFieldSize);
    if (text.empty()) {
        return false;
    }
    window = static_cast<plat::WindowHandle>(std::strtoll(text.c_str(), nullptr, 10));
    return true;
}

}  // namespace fendrel
