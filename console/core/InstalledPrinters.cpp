#include "console/core/InstalledPrinters.h"

#include "console/core/ConsoleState.h"
#include "platform/spooler/DeviceUri.h"
#include "platform/spooler/Spooler.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace console {

void MatchInstalledPrinters() {
    std::vector<InstalledPrinter>& map = State().installedPrinters;
    map.clear();
    std::vector<plat::PrinterDevice> queues;
    const auto ports = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kAdapterPortsKey);
    if (!ports || !plat::EnumPrinters(queues)) {
        return;
    }
    for (const plat::PrinterDevice& queue : queues) {
        const std::optional<std::string> port = plat::PortOfDeviceUri(queue.deviceUri);
        if (!port) {
            continue;
        }
        const auto key = plat::StoreKeyHandle::Open(ports->Get(), port->c_str());
        const std::optional<std::string> mac = key ? key->ReadText("MAC Address") : std::nullopt;
        if (mac) {
            map.push_back({QString::fromStdString(queue.name), QString::fromStdString(*mac).trimmed(),
                           QString::fromStdString(*port)});
        }
    }
}

std::vector<QString> InstalledPrintersOf(const QString& mac) {
    std::vector<QString> printers;
    for (const InstalledPrinter& installed : State().installedPrinters) {
        if (SameMac(installed.mac, mac)) {
            printers.push_back(installed.printer);
        }
    }
    return printers;
}

}  // namespace console
