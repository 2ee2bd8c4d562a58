// The library's start and unload, and its exports.
#include <mutex>

#include "platform/services/ExportGuard.h"
#include "portmonitor/Dalvor.h"
#include "portmonitor/EntryGuard.h"
#include "portmonitor/MonitorEntries.h"
#include "portmonitor/MonitorLog.h"
#include "portmonitor/PortList.h"
#include "transport/DlcCommandLayer.h"

namespace {

void StartLibrary() {
    StartLog();
    if (DlcInitialize() != kDlcOk) {
        // Every DLC attempt then fails at once and the connections take the other transports.
        LogWrite("DLC interface not started\n");
    }
    LoadPorts(ReadMonitorSettings());
}

// Gives back the DLC adapter and what it held before the library's memory goes.
__attribute__((destructor)) void LibraryUnloaded() {
    plat::GuardExport([] { DlcUnload(); });
}

}  // namespace

DALVOR_EXPORT plat::MonitorBool InitializeMonitorEx(const char*, plat::MonitorTable* table) {
    return GuardedEntry([&]() -> plat::MonitorBool {
        static std::once_flag started;
        std::call_once(started, StartLibrary);
        if (table != nullptr) {
            *table = plat::MonitorTable{EnumPorts,  OpenPort,   nullptr,        StartDocPort, WritePort,
                                        ReadPort,   EndDocPort, ClosePort,      AddPort,      ConfigurePort,
                                        DeletePort, nullptr,    SetPortTimeOuts};
        }
        return 1;
    });
}

DALVOR_EXPORT void SetMonitorReporter(void (*reporter)(int kind, const char* text)) {
    plat::GuardExport([reporter] { SetHostReporter(reporter); });
}
