#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The port monitor's settings, under the PrintMonitor32 key of the store.
struct MonitorSettings {
    std::uint32_t errorLog = 0;          // "ErrorLog": 1 writes the log file
    std::string errorLogFile;            // "ErrorLogFile", at most 256 bytes; "TuvErr.Log" when missing
    std::uint32_t linkTimeOutMs = 3000;  // "LinkTimeOut": each wait of a link
    std::uint32_t linkRetries = 3;       // "LinkRetries": rounds of a wait, tries of a receive
    std::uint32_t busyWaitMs = 1000;     // "BusyWait": the pause after a busy or refused print server
};

MonitorSettings ReadMonitorSettings();

// One value of the PrintMonitor32 key, when it is there.
std::optional<std::uint32_t> ReadSettingNumber(const char* name);
std::optional<std::string> ReadSettingText(const char* name);
