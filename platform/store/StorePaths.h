#pragma once

// The keys of the suite's settings, every one below kStoreLocalMachine.
namespace plat {

#define VORLANE_STORE_ROOT "Software\\Vorlane\\VorlanePrintUtility\\3.0"

inline constexpr const char* kProductKey = VORLANE_STORE_ROOT;
inline constexpr const char* kAdapterOnlyKey = VORLANE_STORE_ROOT "\\AdapterOnly";    // the device store
inline constexpr const char* kAdapterPortsKey = VORLANE_STORE_ROOT "\\AdapterPorts";  // the port map
inline constexpr const char* kMyProtocolsKey = VORLANE_STORE_ROOT "\\MyProtocols";
inline constexpr const char* kDisplayKey = VORLANE_STORE_ROOT "\\Display";
inline constexpr const char* kSnmpKey = VORLANE_STORE_ROOT "\\Snmp";
inline constexpr const char* kPrintJobsKey = VORLANE_STORE_ROOT "\\PrintJobs";
inline constexpr const char* kTftpKey = VORLANE_STORE_ROOT "\\TFTP";
inline constexpr const char* kNetworkKey = VORLANE_STORE_ROOT "\\Network";
inline constexpr const char* kPrintMonitorKey = VORLANE_STORE_ROOT "\\PrintMonitor32";

#undef VORLANE_STORE_ROOT

}  // namespace plat
