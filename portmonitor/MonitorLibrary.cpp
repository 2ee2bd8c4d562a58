// The library's start and its one export.
#include <mutex>

#include "portmonitor/Dalvor.h"
#include "portmonitor/MonitorEntries.h"
#include "portmonitor/MonitorLog.h"
#include "portmonitor/PortList.h"
#include "portmonitor/dialogs/DialogEntries.h"
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

}  // namespace

DALVOR_EXPORT plat::MonitorBool InitializeMonitorEx(const char*, plat::MonitorTable* table) {
    try {
        static std::once_flag started;
        std::call_once(started, StartLibrary);
        if (table != nullptr) {
            *table = plat::MonitorTable{EnumPorts,  OpenPort,   nullptr,        StartDocPort, WritePort,
                                        ReadPort,   EndDocPort, ClosePort,      AddPort,      ConfigurePort,
                                        DeletePort, nullptr,    SetPortTimeOuts};
        }
        return 1;
    } catch (...) {
        return 0;
    }
}

DALVOR_EXPORT void SetMonitorReporter(void (*reporter)(int kind, const char* text)) {
    SetHostReporter(reporter);
}
