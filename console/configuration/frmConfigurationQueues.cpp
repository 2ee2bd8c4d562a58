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
#include "console/netware/NetWareForms.h"
#include "console/netware/NetWareGlobals.h"
#include "console/netware/NetWareLibraries.h"
#include "console/netware/ServiceCalls.h"
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

// The print server the print mode dialog chose, with its directory context: the one the browse gave
// it, else its own when it was typed as a dotted name; empty when it has none (an earlier browse's
// context is no context of a name typed in).
QString ChosenPrintServer() {
    const int found = FindQueueMode(PrintModeQueue, PrintModeBindery, PrintModeServer, PrintModeTree);
    const QString context =
        found >= 0 ? QueueModeTable[static_cast<std::size_t>(found)].PrintServerContext : QString();
    if (!context.isEmpty()) {
        return PrintModePrintServer + '.' + context;
    }
    return PrintModePrintServer.contains('.') ? PrintModePrintServer : QString();
}

// A removal or a mode change that failed half way has changed the directory but not the card's row:
// the queue's service is put back as the card still lists it, which changes nothing where nothing
// was taken.
void RestoreService(const ServicedQueue& queue) {
    AddService(queue);
}

// A mode change that failed half way may also have put the queue on its new print server: that
// service is taken back before the old one is put back, so that one print server services the queue,
// the one the card lists. Where the new service was never set up, nothing is taken.
void TakeBackModeChange(const ServicedQueue& queue, const ModeChange& change) {
    RemoveService({queue.queueHost, change.queue, change.mode, queue.queueHost, change.printServer});
    RestoreService(queue);
}

}  // namespace

void frmConfiguration::cmdAdd_Click() {
    NetWare().queueListChanged = false;
    frmAddQueue dialog(this);
    // The dialog has said that the NetWare helper library is missing; it does not open.
    if (dialog.ClientMissing()) {
        NetWare().clientAvailable = false;
        EnableQueueButtons();
        return;
    }
    dialog.exec();
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

// The queue of the grid's current row; null when the row shows no queue.
const ServicedQueue* frmConfiguration::CurrentQueue() const {
    const int row = grdQueues->currentRow();
    const std::vector<ServicedQueue>& queues = NetWare().servicedQueues;
    return row >= 0 && static_cast<std::size_t>(row) < queues.size() ? &queues[static_cast<std::size_t>(row)]
                                                                     : nullptr;
}

// Makes a change of a serviced queue on the card and in the directory: then the page reads the card
// again; a refused change is reported and taken back, so that the directory holds the queue's
// service as the card lists it.
void frmConfiguration::ChangeQueue(const std::function<NwResult()>& change,
                                   const std::function<void()>& takeBack,
                                   const std::function<void(NwResult)>& report) {
    try {
        NwResult result = kNwOk;
        {
            const BusyCursor busy;
            result = change();
        }
        if (result != kNwOk) {
            report(result);
            takeBack();
            return;
        }
        ReloadNetWarePage();
    } catch (const LibraryMissing&) {
        NetWareClientLost();
    }
}

void frmConfiguration::cmdModify_Click() {
    const ServicedQueue* current = CurrentQueue();
    ModeChange change;
    if (current == nullptr || !ModifyTarget(*current, change)) {
        return;
    }
    const ServicedQueue queue = *current;
    const auto modify = [&queue, &change] {
        const int oldMode = IsPrintServerMode(change.mode) ? kBinderyRemotePrinter : kBinderyPrintServer;
        QByteArray host = NetWareText(queue.queueHost);
        return tessik::NwSNMPModifyMode(
            NetWareText(NetWare().adapterName).constData(), host.data(),
            NetWareText(change.queue).constData(), NetWareText(queue.printServer).constData(),
            NetWareText(change.printServer).constData(), NetWareText(CardPrinterName(oldMode)).constData(),
            NetWareText(CardPrinterName(change.mode)).constData(), change.mode);
    };
    // A result with several causes is worth its reasons; any other says the mode stays.
    ChangeQueue(
        modify, [&queue, &change] { TakeBackModeChange(queue, change); },
        [](NwResult result) {
            if (HasReasons(result)) {
                ShowNetWareSetupResult(result);
            } else {
                ShowPlainMessage(LoadString(kModeNotChanged), State().productTitle);
            }
        });
}

void frmConfiguration::cmdRemove_Click() {
    const ServicedQueue* current = CurrentQueue();
    if (current == nullptr ||
        ShowQuestion(LoadString(kConfirmRemoval) + current->queue + "?", State().productTitle) != kOk) {
        return;
    }
    if (!IsKnownMode(current->mode)) {
        ShowMessage(kUnknownModeRow, kWarning);
        return;
    }
    const ServicedQueue queue = *current;
    ChangeQueue([&queue] { return RemoveService(queue); }, [&queue] { RestoreService(queue); },
                [](NwResult result) { ShowNetWareSetupResult(result); });
}

// The NetWare helper library cannot be used: the queue buttons stay off from now on.
void frmConfiguration::NetWareClientLost() {
    ShowMessage(kClientMissing, kWarning);
    NetWare().clientAvailable = false;
    EnableQueueButtons();
}

}  // namespace console
