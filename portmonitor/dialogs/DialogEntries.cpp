// The export that runs the port dialogs.
#include <QApplication>

#include <memory>

#include "platform/services/ExportGuard.h"
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

DALVOR_DIALOGS_EXPORT int RunPortDialog(const PortServices* services, plat::WindowHandle, int configure,
                                        const char* portName) {
    return plat::GuardExport(0, [&] {
        if (services == nullptr) {
            return 0;
        }
        const std::unique_ptr<QApplication> application = EnsureApplication();
        // In a Qt host (the console) the window the command came from owns the dialog, as the
        // spooler's owner window would: the help opened from it then outlives it there too.
        PortDialog dialog(configure != 0, portName != nullptr ? portName : "", *services,
                          QApplication::activeWindow());
        return dialog.exec() == QDialog::Accepted ? 1 : 0;
    });
}
