#pragma once

#include <cstdint>

// The library-wide settings every export reads: read when the library is loaded and again by
// HelperInitialize, each time with its own defaults for missing values.
struct LibrarySettings {
    std::uint32_t udpTimeOutInterval;  // seconds the library's own SNMP exchanges wait for an answer
    std::uint32_t udpTotalRetries;     // attempts of those exchanges
    std::uint32_t autoDetectTimeout;   // discovery listening time in units of 2 seconds
};

inline constexpr LibrarySettings kLoadDefaults{1, 1, 4};
inline constexpr LibrarySettings kInitializeDefaults{1, 1, 1};

// Reads the three Snmp values, taking the default of each that cannot be read, and makes them the
// library's settings.
void LoadLibrarySettings(const LibrarySettings& defaults);

const LibrarySettings& CurrentSettings();
