#include "portmonitor/MonitorSettings.h"

#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace {

constexpr std::size_t kLogFileNameLimit = 255;  // 256 bytes with the terminating zero

std::optional<plat::StoreKeyHandle> OpenSettings() {
    return plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kPrintMonitorKey);
}

}  // namespace

std::optional<std::uint32_t> ReadSettingNumber(const char* name) {
    std::optional<plat::StoreKeyHandle> key = OpenSettings();
    return key ? key->ReadNumber(name) : std::nullopt;
}

std::optional<std::string> ReadSettingText(const char* name) {
    std::optional<plat::StoreKeyHandle> key = OpenSettings();
    return key ? key->ReadText(name) : std::nullopt;
}

MonitorSettings ReadMonitorSettings() {
    MonitorSettings settings;
    std::optional<plat::StoreKeyHandle> key = OpenSettings();
    if (!key) {
        settings.errorLogFile = "TuvErr.Log";
        return settings;
    }
    settings.errorLog = key->ReadNumber("ErrorLog").value_or(0);
    std::string file = key->ReadText("ErrorLogFile").value_or("TuvErr.Log");
    // A stored name without its zero, or longer than the setting allows, is cut, never read on.
    settings.errorLogFile = file.substr(0, std::min(file.find('\0'), kLogFileNameLimit));
    settings.linkTimeOutMs = key->ReadNumber("LinkTimeOut").value_or(settings.linkTimeOutMs);
    settings.linkRetries =
        std::max<std::uint32_t>(1, key->ReadNumber("LinkRetries").value_or(settings.linkRetries));
    settings.busyWaitMs = key->ReadNumber("BusyWait").value_or(settings.busyWaitMs);
    return settings;
}
