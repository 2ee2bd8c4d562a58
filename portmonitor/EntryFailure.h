#pragma once

#include <cstdint>

#include "platform/spooler/LastError.h"
#include "platform/spooler/MonitorInterface.h"
#include "portmonitor/MonitorLog.h"
#include "portmonitor/MonitorStrings.h"

// How an entry point fails: the last error set, FALSE.
inline plat::MonitorBool FailEntry(std::uint32_t error) {
    plat::SetLastError(error);
    return 0;
}

// A port name the monitor does not know: message 66 reported, then the failure.
inline plat::MonitorBool UnknownPortEntry() {
    ReportError(kStrPortNotSupported);
    return FailEntry(plat::kErrorUnknownPort);
}
