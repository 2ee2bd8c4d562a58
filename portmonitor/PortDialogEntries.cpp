// The entry points that run the port dialogs, from the dialogs' own module (see PortServices).
#include "platform/services/ModuleLoader.h"
#include "portmonitor/EntryFailure.h"
#include "portmonitor/EntryGuard.h"
#include "portmonitor/MonitorEntries.h"
#include "portmonitor/MonitorLog.h"
#include "portmonitor/MonitorSettings.h"
#include "portmonitor/PortList.h"
#include "portmonitor/PortServices.h"
#include "portmonitor/PortSetup.h"
#include "portmonitor/dialogs/DialogEntries.h"

namespace {

// The module's dialog; null, logged, when the module cannot be loaded. The module stays loaded, as the
// widgets it brought stay.
RunPortDialogFunction DialogModule() {
    static const plat::ModuleHandle module = [] {
        plat::MapModuleName("DalvorDialogs.dll", "libdalvordialogs.so");
        return plat::LoadModule("DalvorDialogs.dll");
    }();
    const auto run = reinterpret_cast<RunPortDialogFunction>(
        module != nullptr ? plat::ModuleSymbol(module, "RunPortDialog") : nullptr);
    if (run == nullptr) {
        LogWrite("port dialogs not available\n");
    }
    return run;
}

// True when the dialog ended with OK.
bool ShowPortDialog(plat::WindowHandle owner, bool configure, const char* portName) {
    const RunPortDialogFunction run = DialogModule();
    return run != nullptr && run(&MonitorPortServices(), owner, configure ? 1 : 0, portName) != 0;
}

}  // namespace

plat::MonitorBool AddPort(const char*, plat::WindowHandle window, const char*) {
    return GuardedEntry([&]() -> plat::MonitorBool {
        SyncPorts(ReadMonitorSettings());
        if (ShowPortDialog(window, false, "")) {
            return 1;
        }
        // The user cancelled (or there is no dialog): no port was added.
        return FailEntry(plat::kErrorCancelled);
    });
}

plat::MonitorBool ConfigurePort(const char*, plat::WindowHandle window, const char* portName) {
    return GuardedEntry([&]() -> plat::MonitorBool {
        SyncPorts(ReadMonitorSettings());
        const PortNode* node = portName != nullptr ? FindPort(portName) : nullptr;
        if (node == nullptr) {
            return UnknownPortEntry();
        }
        // A job under way keeps the print server it started with.
        if (PortPrints(*node->port)) {
            return FailEntry(plat::kErrorBusy);
        }
        if (ShowPortDialog(window, true, node->port->GetPortName().c_str())) {
            return 1;
        }
        return FailEntry(plat::kErrorCancelled);
    });
}
