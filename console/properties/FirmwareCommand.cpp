#include "console/properties/FirmwareCommand.h"

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTreeWidget>

#include <functional>
#include <string>

#include "console/core/ConsoleState.h"
#include "console/core/FirmwareServerWindow.h"
#include "console/core/Libraries.h"
#include "console/core/Messages.h"
#include "console/core/QueuePump.h"
#include "console/properties/frmTftp.h"
#include "firmware/FirmwareMessages.h"

namespace console {

namespace {

constexpr int kNoTcpIp = 7044;
constexpr int kServerNotStarted = 7045;
constexpr std::uint32_t kAddressRoom = 20;
constexpr int kStartWaitMs = 5000;
constexpr std::uint32_t kPollMs = 20;
const char* const kServerProgram = "fendrel";
const char* const kServerMode = "TLX";

QString& ProgramFolder() {
    static QString folder;
    return folder;
}

plat::WindowHandle ProvenStoredWindow() {
    const plat::WindowHandle window = StoredFirmwareWindow();
    return IsFirmwareServerWindow(window) ? window : 0;
}

// Pumps this thread's messages until the condition holds; false after kStartWaitMs.
bool PumpUntil(const std::function<bool()>& condition) {
    const QDeadlineTimer deadline(kStartWaitMs);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        plat::PumpWaiting(kPollMs);
    }
    return true;
}

// A server left from before (one that is still ending) is released and waited for: every dialog
// gets a server of its own, started for its events' window, whose window is proven to be the
// server's before it is used.
plat::WindowHandle StartFirmwareServer(plat::WindowHandle events) {
    if (const plat::WindowHandle earlier = ProvenStoredWindow()) {
        ReleaseFirmwareServer(earlier);
        if (!PumpUntil([earlier] { return !plat::IsWindow(earlier); })) {
            return 0;
        }
    }
    const QString folder =
        ProgramFolder().isEmpty() ? QCoreApplication::applicationDirPath() : ProgramFolder();
    const QStringList arguments{kServerMode, QString::fromStdString(plat::WindowHandleToText(events))};
    if (!QProcess::startDetached(folder + "/" + kServerProgram, arguments)) {
        return 0;
    }
    plat::WindowHandle window = 0;
    PumpUntil([&window] { return (window = ProvenStoredWindow()) != 0; });
    return window;
}

void ApplyTargetMode(frmTftp& dialog, FirmwareTargetMode mode) {
    const PrinterRow* row = CurrentPrinter();
    switch (mode) {
        case FirmwareTargetMode::kCurrentRow:
            if (row != nullptr) {
                const QList<QTreeWidgetItem*> found =
                    dialog.PrinterList()->findItems(row->mac, Qt::MatchFixedString, 2);
                if (!found.isEmpty()) {
                    dialog.PrinterList()->setCurrentItem(found.front());
                }
            }
            return;
        case FirmwareTargetMode::kByAddress: {
            dialog.IpOption()->click();
            const QStringList parts = row != nullptr ? row->ip.split('.') : QStringList{};
            for (int i = 0; i < parts.size() && i < 4 && parts.size() == 4; ++i) {
                dialog.IpBox(i)->setText(parts[i]);
            }
            return;
        }
        case FirmwareTargetMode::kWaitForCard:
            dialog.WaitOption()->click();
            return;
    }
}

// The print server fetches the file from this PC's address: without one (no TCP/IP) there is no
// upgrade. The library leaves the blanks it was given as they were when it has none.
bool HostHasAddress() {
    std::string address(kAddressRoom, ' ');
    std::uint32_t size = kAddressRoom;
    halbrin::HelperGetHostIPAddress(address.data(), &size);
    return address != std::string(kAddressRoom, ' ');
}

}  // namespace

void SetFirmwareProgramFolder(const QString& folder) {
    ProgramFolder() = folder;
}

bool UpgradeFirmwareCommand(QWidget* parent, QAction* mnuFlash, FirmwareTargetMode mode) {
    if (!HostHasAddress()) {
        ShowMessage(kNoTcpIp, kWarning);
        return false;
    }
    frmTftp dialog(mnuFlash, parent);
    dialog.Form_Load();
    ApplyTargetMode(dialog, mode);
    const plat::WindowHandle server = StartFirmwareServer(dialog.EventWindow());
    if (server == 0) {
        ShowMessage(kServerNotStarted, kCritical);
        if (mnuFlash != nullptr) {
            mnuFlash->setEnabled(true);
        }
        return false;
    }
    State().firmwareWindow = server;
    plat::SendMessage(server, WM_TFTP_START, dialog.EventWindow(), 0);
    dialog.exec();
    return true;
}

}  // namespace console
