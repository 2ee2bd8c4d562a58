#include "firmware/ServerSettings.h"

#include <cstdio>
#include <cstdlib>

#include "confighelper/RegistryValue.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace fendrel {

namespace {

constexpr std::uint32_t kFlashFileSize = 128;
constexpr std::uint32_t kWindowFieldSize = 20;

// A text value of the TFTP key read into a field of `size` bytes, up to its first terminator; empty
// when it cannot be read.
std::string ReadText(const char* name, std::uint32_t size) {
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kTftpKey);
    std::string text = key ? key->ReadTextWithin(name, size).value_or("") : "";
    if (const auto zero = text.find('\0'); zero != std::string::npos) {
        text.resize(zero);
    }
    return text;
}

}  // namespace

ServerSettings ReadServerSettings() {
    ServerSettings settings;
    if (const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kSnmpKey)) {
        auto read = [&key](const char* name, std::int32_t fallback) {
            return static_cast<std::int32_t>(key->ReadNumber(name).value_or(fallback));
        };
        settings.timeOutSeconds = read("UdpTimeOutInterval", settings.timeOutSeconds);
        settings.retries = read("UdpTotalRetries", settings.retries);
    }
    return settings;
}

std::string ReadChosenFile() {
    return ReadText("FlashFile", kFlashFileSize);
}

bool PublishServerWindow(plat::WindowHandle window) {
    char field[kWindowFieldSize] = {};
    std::snprintf(field, sizeof field, "%d", static_cast<std::int32_t>(window));
    return WriteRegistryValue(plat::kStoreLocalMachine, plat::kTftpKey, "Window", field, sizeof field,
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
