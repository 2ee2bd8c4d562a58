#include "console/netware/ServicedQueues.h"

#include "console/core/ConsoleState.h"
#include "console/netware/NetWareReads.h"

namespace console {

namespace {

constexpr int kNameDigits = 6;
const char* const kRootContext = "[Root]";

// "HOST\NAME" cut at its first "\"; a path without one is all host.
std::pair<QString, QString> SplitPath(const QString& path) {
    const qsizetype slash = path.indexOf('\\');
    return slash < 0 ? std::pair{path, QString()} : std::pair{path.left(slash), path.mid(slash + 1)};
}

}  // namespace

NetWareSetup& NetWare() {
    static NetWareSetup setup;
    return setup;
}

std::vector<ServicedQueue> ReadServicedQueues(const QString& list) {
    const QStringList records = NameListRecords(list);
    std::vector<ServicedQueue> queues;
    for (qsizetype first = 0; first + 4 <= records.size(); first += 4) {
        ServicedQueue queue;
        std::tie(queue.queueHost, queue.queue) = SplitPath(records[first]);
        queue.mode = records[first + 1].toInt();
        std::tie(queue.printServerHost, queue.printServer) = SplitPath(records[first + 2]);
        queue.status = records[first + 3].toInt();
        queues.push_back(queue);
    }
    return queues;
}

QString ModeText(int mode) {
    return IsPrintServerMode(mode) ? "PSERVER" : IsRemotePrinterMode(mode) ? "RPRINTER" : "UNKNOWN";
}

QString DefaultPrintServerNameOf(const QString& adapterName) {
    return State().makerAbbreviation + adapterName.right(kNameDigits);
}

QString CardPrinterName(int mode) {
    return NetWare().defaultPrintServerName + (IsPrintServerMode(mode) ? "_ps" : "_rp");
}

DottedName SplitDottedName(const QString& dotted) {
    const qsizetype dot = dotted.indexOf('.');
    return dot < 0 ? DottedName{dotted, kRootContext} : DottedName{dotted.left(dot), dotted.mid(dot + 1)};
}

QString ContextOf(const QString& dotted) {
    const qsizetype dot = dotted.indexOf('.');
    return dot < 0 ? QString() : dotted.mid(dot + 1);
}

bool SameNetWareName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool SameService(const ServicedQueue& a, const ServicedQueue& b) {
    return a.mode == b.mode && SameNetWareName(a.queueHost, b.queueHost) &&
           SameNetWareName(a.queue, b.queue) && SameNetWareName(a.printServerHost, b.printServerHost) &&
           SameNetWareName(a.printServer, b.printServer);
}

}  // namespace console
