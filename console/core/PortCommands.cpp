#include "console/core/PortCommands.h"

#include <QStringList>

#include <algorithm>
#include <optional>
#include <vector>

#include "console/core/ConsoleState.h"
#include "console/core/InstalledPrinters.h"
#include "console/core/Messages.h"
#include "console/core/PrintServerTable.h"
#include "console/core/StringTable.h"
#include "console/core/dialogs/frmSelectPort.h"
#include "platform/spooler/LastError.h"
#include "platform/spooler/MonitorPorts.h"

namespace console {

namespace {

constexpr int kNoPort = 6520;
constexpr int kDeleteWithQueues = 6521;
constexpr int kDeleteWithoutQueue = 6522;
constexpr int kDeleteInUse = 6523;
constexpr int kConfigureInUse = 6524;
constexpr int kSpoolerUnavailable = 6525;
constexpr int kMonitorUnavailable = 6526;
constexpr int kPortGone = 6527;
constexpr int kPortNotChanged = 6528;

// Says why the spooler's call on the port failed; a cancelled dialog needs no word.
void ShowFailure(const QString& port, int inUse) {
    switch (plat::GetLastError()) {
        case plat::kErrorCancelled:
            return;
        case plat::kErrorBusy:
            ShowTextMessage(LoadString(inUse).arg(port), kWarning);
            return;
        case plat::kErrorSpoolerUnavailable:
            ShowMessage(kSpoolerUnavailable, kWarning);
            return;
        case plat::kErrorMonitorUnavailable:
            ShowMessage(kMonitorUnavailable, kWarning);
            return;
        case plat::kErrorUnknownPort:
            ShowTextMessage(LoadString(kPortGone).arg(port), kWarning);
            return;
        default:
            ShowTextMessage(LoadString(kPortNotChanged).arg(port), kWarning);
    }
}

// The port of the current print server that the command acts on.
std::optional<plat::MonitorPort> ChoosePort(QWidget* parent, int inUse) {
    const PrinterRow* row = CurrentPrinter();
    if (row == nullptr) {
        return std::nullopt;
    }
    std::vector<plat::MonitorPort> ports;
    if (!plat::EnumMonitorPorts(ports)) {
        ShowFailure("", inUse);
        return std::nullopt;
    }
    const QString mac = row->mac;
    std::erase_if(ports, [&](const plat::MonitorPort& port) {
        return !SameMac(QString::fromStdString(port.adapter), mac);
    });
    if (ports.empty()) {
        ShowMessage(kNoPort, kWarning);
        return std::nullopt;
    }
    if (ports.size() == 1) {
        return ports.front();
    }
    frmSelectPort choice(ports, parent);
    if (choice.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const auto chosen = std::find_if(ports.begin(), ports.end(), [&](const plat::MonitorPort& port) {
        return QString::fromStdString(port.name) == choice.Chosen();
    });
    return chosen == ports.end() ? std::nullopt : std::optional(*chosen);
}

// The print servers' categories and the printer map, as the monitor and the spooler now have them.
void Reload() {
    LoadPrintServerTable();
    MatchInstalledPrinters();
}

}  // namespace

bool ConfigurePortCommand(QWidget* parent, plat::WindowHandle owner) {
    const std::optional<plat::MonitorPort> port = ChoosePort(parent, kConfigureInUse);
    if (!port) {
        return false;
    }
    if (!plat::ConfigurePort(nullptr, owner, port->name.c_str())) {
        ShowFailure(QString::fromStdString(port->name), kConfigureInUse);
        return false;
    }
    Reload();
    return true;
}

bool DeletePortCommand(QWidget* parent, plat::WindowHandle owner) {
    const std::optional<plat::MonitorPort> port = ChoosePort(parent, kDeleteInUse);
    if (!port) {
        return false;
    }
    const QString name = QString::fromStdString(port->name);
    QStringList queues;
    for (const std::string& printer : port->printers) {
        queues << QString::fromStdString(printer);
    }
    const QString question = queues.isEmpty() ? LoadString(kDeleteWithoutQueue).arg(name)
                                              : LoadString(kDeleteWithQueues).arg(name, queues.join(", "));
    if (ShowQuestion(question, State().productTitle) != kOk) {
        return false;
    }
    if (!plat::DeletePort(nullptr, owner, port->name.c_str())) {
        ShowFailure(name, kDeleteInUse);
        return false;
    }
    Reload();
    return true;
}

}  // namespace console
