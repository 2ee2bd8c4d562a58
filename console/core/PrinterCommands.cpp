#include "console/core/PrinterCommands.h"

#include <QProcess>
#include <QStandardPaths>

#include "console/core/ConsoleState.h"
#include "console/core/FormHelpers.h"
#include "console/core/InstalledPrinters.h"
#include "console/core/Libraries.h"
#include "console/core/Messages.h"
#include "console/core/PrintServerTable.h"
#include "console/core/dialogs/frmDocumentSettings.h"
#include "console/core/dialogs/frmJobQueue.h"
#include "console/core/dialogs/frmSelectWin.h"
#include "platform/spooler/LastError.h"
#include "platform/spooler/MonitorInterface.h"
#include "platform/spooler/Spooler.h"

namespace console {

namespace {

constexpr std::int32_t kAddPortMode = 1;
constexpr std::size_t kMostPrinters = 100;
constexpr int kNoSetUpProgram = 6450;
constexpr const char* kSetUpProgram = "system-config-printer";

void OpenSettings(QWidget* parent, plat::WindowHandle owner, const QString& printer) {
    InstallDocumentSettingsDialog(parent);
    std::int32_t result = 0;
    {
        BusyCursor hourglass;
        result = halbrin::HelperDeviceSettings32(owner, printer.toUtf8().constData());
        plat::SetDocumentPropertiesDialog(nullptr);  // it holds the parent, which may go
    }
    if (result != 0) {
        ShowResult(result, kWarning);
    }
}

}  // namespace

bool AddPortCommand(plat::WindowHandle owner) {
    static bool running = false;
    if (running) {
        return false;
    }
    running = true;
    const std::int32_t result = halbrin::HelperInstallPrinter32(owner, kAddPortMode);
    running = false;
    // A port added without its queue is still a port: its print server's use count went up.
    if (result == kHelperQueueNotMade) {
        ShowMessageEx(kHelperQueueNotMade, kWarning, QString::fromStdString(plat::LastSpoolerError()));
    } else if (result != 0) {
        // The person cancelled the port dialog: there is nothing to tell.
        if (result != kHelperPortNotAdded || plat::GetLastError() != plat::kErrorCancelled) {
            ShowResult(result, kWarning);
        }
        return false;
    }
    LoadPrintServerTable();
    MatchInstalledPrinters();
    return true;
}

void AddPrinterCommand() {
    const QString program = QStandardPaths::findExecutable(kSetUpProgram);
    if (program.isEmpty() || !QProcess::startDetached(program, {})) {
        ShowMessage(kNoSetUpProgram, kWarning);
    }
}

void PrinterPropertiesCommand(QWidget* parent, plat::WindowHandle owner) {
    const PrinterRow* row = CurrentPrinter();
    std::vector<QString> printers = row != nullptr ? InstalledPrintersOf(row->mac) : std::vector<QString>{};
    if (printers.size() > kMostPrinters) {
        printers.resize(kMostPrinters);
    }
    if (printers.size() == 1) {
        OpenSettings(parent, owner, printers.front());
        return;
    }
    frmSelectWin choice(printers, parent);
    if (choice.exec() == QDialog::Accepted) {
        OpenSettings(parent, owner, choice.Chosen());
    }
}

void JobQueueCommand(QWidget* parent) {
    if (CurrentPrinter() == nullptr) {
        return;
    }
    frmJobQueue queue(parent);
    queue.exec();
}

}  // namespace console
