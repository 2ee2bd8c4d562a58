// The NetWare page's queue buttons: a queue added through the add queue dialog, a queue's mode
// changed between print server and remote printer, a queue removed. Each takes effect on the card
// and in the NetWare directory at once, and the page then reads the card again.
#include <QPushButton>
#include <QTableWidget>

#include "console/configuration/ConfigurationLibraries.h"
#include "console/configuration/frmConfiguration.h"
#include "console/core/ConsoleState.h"
#include "console/core/FormHelpers.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "console/netware/NetWareGlobals.h"
#include "console/netware/NetWareLibraries.h"
#include "console/netware/ServicedQueues.h"
#include "console/netware/frmAddQueue.h"
#include "console/netware/frmNwError.h"
#include "console/netware/frmPrintMode.h"

namespace console {

// Where a mode change takes a serviced queue.
struct ModeChange {
    QString queue;
    QString printServer;
    int mode = 0;
};

namespace {

constexpr int kClientMissing = 12027;
constexpr int kModeNotChanged = 30028;
constexpr int kConfirmRemoval = 9300;
constexpr int kNoPrintServerContext = 9420;
constexpr int kUnknownModeRow = 9421;

bool HasSeveralCauses(NwResult result) {
    return result == 25011 || result == kNwPrinterNotCreated || result == kNwNoSuchRow;
}

// Texts go to the library as 8-bit strings in buffers of their own, which it may change.
struct Latin1 {
    explicit Latin1(const QString& text) : bytes(text.toLatin1()) {}
    char* data() { return bytes.data(); }
    QByteArray bytes;
};

// The print server's directory context as the print mode dialog left it: the browse's context for
// the print server the browse chose, the name's own for a dotted name typed in; none for a name
// typed without one (an earlier browse's context is no context of it).
QString ChosenPrintServer() {
    const QString name = PrintModePrintServer;
    if (name.compare(BrowseChoice, Qt::CaseInsensitive) == 0 && !BrowseChoiceContext.isEmpty()) {
        return name + '.' + BrowseChoiceContext;
    }
    return name.contains('.') ? name : QString();
}

}  // namespace

void frmConfiguration::cmdAdd_Click() {
    NetWare().queueListChanged = false;
    frmAddQueue dialog(this);
    dialog.exec();
    if (dialog.ClientMissing()) {
        NetWareClientLost();
        return;
    }
    if (NetWare().queueListChanged) {
        keepCheckDelays_ = true;
        LoadNetWarePage();
        keepCheckDelays_ = false;
    }
    EnableQueueButtons();
}

// The mode the queue goes to, its print server and the queue's name as passed on; false when the
// person kept the mode or the change cannot be made (then with a message).
bool frmConfiguration::ModifyTarget(const ServicedQueue& queue, ModeChange& change) {
    const QString defaultName = NetWare().defaultPrintServerName;
    change.queue = queue.queue;
    if (queue.mode == kBinderyRemotePrinter) {
        change = {queue.queue, defaultName, kBinderyPrintServer};
        return true;
    }
    if (queue.mode == kDirectoryRemotePrinter) {
        const QString context = ContextOf(queue.printServer);
        if (context.isEmpty()) {
            ShowMessage(kNoPrintServerContext, kWarning);
            return false;
        }
        change = {queue.queue, defaultName + '.' + context, kDirectoryPrintServer};
        return true;
    }
    const bool bindery = queue.mode == kBinderyPrintServer;
    const DottedName name = SplitDottedName(queue.queue);
    PrintModeBindery = bindery ? -1 : 0;
    PrintModeQueue = bindery ? queue.queue : name.name;
    PrintModeServer = queue.queueHost;
    PrintModeTree = queue.queueHost;
    PrintModeContext = bindery ? QString() : name.context;
    ShowPrintModeDialog(this);
    if (PrintModeAccepted != -1 || IsPrintServerMode(PrintModeChoice)) {
        return false;
    }
    change.mode = PrintModeChoice;
    if (bindery) {
        change.printServer = PrintModePrintServer;
        return true;
    }
    change.printServer = ChosenPrintServer();
    if (change.printServer.isEmpty()) {
        ShowMessage(kNoPrintServerContext, kWarning);
        return false;
    }
    change.queue = name.name + '.' + name.context;
    return true;
}

void frmConfiguration::cmdModify_Click() {
    const int row = grdQueues->currentRow();
    const std::vector<ServicedQueue>& queues = NetWare().servicedQueues;
    if (row < 0 || static_cast<std::size_t>(row) >= queues.size()) {
        return;
    }
    const ServicedQueue queue = queues[static_cast<std::size_t>(row)];
    try {
        ModeChange change;
        if (!ModifyTarget(queue, change)) {
            return;
        }
        NwResult result = kNwOk;
        {
            const BusyCursor busy;
            const int oldMode = IsPrintServerMode(change.mode) ? kBinderyRemotePrinter : kBinderyPrintServer;
            Latin1 host(queue.queueHost);
            result = tessik::NwSNMPModifyMode(
                NetWare().adapterName.toLatin1().constData(), host.data(),
                change.queue.toLatin1().constData(), queue.printServer.toLatin1().constData(),
                change.printServer.toLatin1().constData(), CardPrinterName(oldMode).toLatin1().constData(),
                CardPrinterName(change.mode).toLatin1().constData(), change.mode);
        }
        if (result != kNwOk) {
            // A result with several causes is worth its reasons; any other says the mode stays.
            if (HasSeveralCauses(result)) {
                ShowNetWareSetupResult(result);
            } else {
                ShowPlainMessage(LoadString(kModeNotChanged), State().productTitle);
            }
            return;
        }
        ReloadNetWarePage();
    } catch (const LibraryMissing&) {
        NetWareClientLost();
    }
}

void frmConfiguration::cmdRemove_Click() {
    const int row = grdQueues->currentRow();
    const std::vector<ServicedQueue>& queues = NetWare().servicedQueues;
    if (row < 0 || static_cast<std::size_t>(row) >= queues.size()) {
        return;
    }
    const ServicedQueue queue = queues[static_cast<std::size_t>(row)];
    if (ShowQuestion(LoadString(kConfirmRemoval) + queue.queue + "?", State().productTitle) != kOk) {
        return;
    }
    if (!IsKnownMode(queue.mode)) {
        ShowMessage(kUnknownModeRow, kWarning);
        return;
    }
    try {
        NwResult result = kNwOk;
        {
            const BusyCursor busy;
            const QByteArray adapter = NetWare().adapterName.toLatin1();
            Latin1 host(queue.queueHost);
            Latin1 printer(CardPrinterName(queue.mode));
            if (queue.mode == kBinderyPrintServer || queue.mode == kBinderyRemotePrinter) {
                Latin1 name(queue.queue);
                Latin1 printServer(queue.printServer);
                result = tessik::NwBiRmSerList(adapter.constData(), host.data(), name.data(), queue.mode,
                                               printServer.data(), printer.data());
            } else {
                const DottedName name = SplitDottedName(queue.queue);
                const DottedName printServer = SplitDottedName(queue.printServer);
                result = tessik::NwNdsRmSerList(
                    adapter.constData(), host.data(), name.name.toLatin1().constData(),
                    name.context.toLatin1().constData(), queue.mode, printServer.name.toLatin1().constData(),
                    printServer.context.toLatin1().constData(), printer.data());
            }
        }
        if (result != kNwOk) {
            ShowNetWareSetupResult(result);
            return;
        }
        ReloadNetWarePage();
    } catch (const LibraryMissing&) {
        NetWareClientLost();
    }
}

// The NetWare helper library cannot be used: the queue buttons stay off from now on.
void frmConfiguration::NetWareClientLost() {
    ShowMessage(kClientMissing, kWarning);
    NetWare().clientAvailable = false;
    EnableQueueButtons();
}

}  // namespace console
