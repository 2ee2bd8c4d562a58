#include "console/netware/ServiceCalls.h"

#include "console/netware/NetWareForms.h"
#include "console/netware/NetWareLibraries.h"

namespace console {

namespace {

constexpr NwResult kFirstDirectoryResult = kNwCannotConnect;
constexpr NwResult kLastDirectoryResult = kNwPrinterNotCreated;

bool IsBindery(int mode) {
    return mode == kBinderyPrintServer || mode == kBinderyRemotePrinter;
}

template <typename BinderyCall, typename DirectoryCall>
NwResult Call(const ServicedQueue& service, BinderyCall&& bindery, DirectoryCall&& directory) {
    const QByteArray adapter = NetWareText(NetWare().adapterName);
    QByteArray host = NetWareText(service.queueHost);
    QByteArray printer = NetWareText(CardPrinterName(service.mode));
    if (IsBindery(service.mode)) {
        QByteArray queue = NetWareText(service.queue);
        QByteArray printServer = NetWareText(service.printServer);
        return bindery(adapter.constData(), host.data(), queue.data(), service.mode, printServer.data(),
                       printer.data());
    }
    const DottedName queue = SplitDottedName(service.queue);
    const DottedName printServer = SplitDottedName(service.printServer);
    return directory(adapter.constData(), host.data(), NetWareText(queue.name).constData(),
                     NetWareText(queue.context).constData(), service.mode,
                     NetWareText(printServer.name).constData(), NetWareText(printServer.context).constData(),
                     printer.constData());
}

}  // namespace

NwResult AddService(const ServicedQueue& service) {
    return Call(service, tessik::NwBiAddSerList, tessik::NwNdsAddSerList);
}

NwResult RemoveService(const ServicedQueue& service) {
    return Call(service, tessik::NwBiRmSerList, tessik::NwNdsRmSerList);
}

bool FailedAtTheCard(NwResult result) {
    return result != kNwOk && (result < kFirstDirectoryResult || result > kLastDirectoryResult);
}

}  // namespace console
