#pragma once

// Keys of the library's settings, all below the local machine root. The device store's own key is
// kAdapterOnlyKey (transport/DeviceStorePath.h).
inline constexpr const char* kSnmpKey = "Software\\Vorlane\\VorlanePrintUtility\\3.0\\Snmp";
inline constexpr const char* kDisplayKey = "Software\\Vorlane\\VorlanePrintUtility\\3.0\\Display";
inline constexpr const char* kPrintJobsKey = "Software\\Vorlane\\VorlanePrintUtility\\3.0\\PrintJobs";
