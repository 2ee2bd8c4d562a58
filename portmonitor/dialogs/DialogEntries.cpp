// The entry points that run the port dialogs.
#include <QApplication>

#include <memory>

#include "portmonitor/EntryFailure.h"
#include "portmonitor/EntryGuard.h"
#include "portmonitor/MonitorSettings.h"
#include "portmonitor/PortList.h"
#include "portmonitor/PortSetup.h"
#include "portmonitor/dialogs/DialogEntries.h"
#include "portmonitor/dialogs/PortDialog.h"

namespace {

// The dialogs need an application object; a host without one (a program that is not a Qt program)
// gets one for the time of the dialog.
std::unique_ptr<QApplication> EnsureApplication() {
    if (QApplication::instance() != nullptr) {
        return nullptr;
    }
    static int argc = 1;
    static char name[] = "vorlane";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

}  // namespace

bool ShowPortDialog(plat::WindowHandle, bool configure, const std::string& portName) {
    const std::unique_ptr<QApplication> application = EnsureApplication();
    PortDialog dialog(configure, portName);
    return dialog.exec() == QDialog::Accepted;
}

plat::MonitorBool AddPort(const char*, plat::WindowHandle window, const char*) {
    return GuardedEntry([&]() -> plat::MonitorBool {
        SyncPorts(ReadMonitorSettings());
        if (ShowPortDialog(window, false, "")) {
            return 1;
        }
        // The user cancelled: no port was added.
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
        if (ShowPortDialog(window, true, node->port->GetPortName())) {
            return 1;
        }
        return FailEntry(plat::kErrorCancelled);
    });
}
