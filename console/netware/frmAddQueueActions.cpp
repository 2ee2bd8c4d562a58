// The add queue dialog's commands: login, create, delete, the service mode, walking the directory,
// and the add itself.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>

#include "console/core/ConsoleState.h"
#include "console/core/FormHelpers.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "console/netware/NetWareGlobals.h"
#include "console/netware/NetWareLibraries.h"
#include "console/netware/ServiceCalls.h"
#include "console/netware/ServicedQueues.h"
#include "console/netware/frmAddQueue.h"
#include "console/netware/frmCrQueue.h"
#include "console/netware/frmNwError.h"
#include "console/netware/frmPrintMode.h"

namespace console {

namespace {

constexpr int kAddCreatedQueue = 5120;
constexpr int kQueueClass = 5150;
constexpr int kConfirmRemoval = 9300;
constexpr int kNoPrintServerContext = 9420;
constexpr int kLoginBindery = 1;
constexpr int kLoginServerInTree = 2;
constexpr int kLoginTree = 3;

// Whether this card's service table held this very service when the page read it: it was then in
// place before this command, in the directory as on the card. A failed read knows of none.
bool ServicedBefore(const ServicedQueue& wanted) {
    const std::vector<ServicedQueue>& listed = NetWare().servicedQueues;
    return std::any_of(listed.begin(), listed.end(),
                       [&wanted](const ServicedQueue& serviced) { return SameService(serviced, wanted); });
}

}  // namespace

// How the card is to service the chosen queue.
struct frmAddQueue::Service {
    int mode = 0;
    QString printServer;
    QString printServerContext;
};

bool frmAddQueue::NeedsContext() const {
    return !Bindery() && txtCurrentContext->text().trimmed().isEmpty();
}

// The buttons follow the selected row: a queue can be added, deleted and given a mode, a container
// only opened; a directory source without a context offers nothing to add or create.
void frmAddQueue::RowChanged() {
    if ((GridBusy() || busy_) && !wentUp_) {
        return;
    }
    wentUp_ = false;
    const int row = grdItems->currentRow();
    const bool queue = listed_ && row >= 0 && (Bindery() || !IsContainerRow(grdItems, row));
    const bool context = !NeedsContext();
    cmdOk->setEnabled(queue && context);
    cmdSelectMode->setEnabled(queue && context);
    cmdDeleteQueue->setEnabled(queue);
    if (listed_) {
        cmdCreateQueue->setEnabled(context);
    }
}

void frmAddQueue::GoDown() {
    const int row = grdItems->currentRow();
    if (Bindery() || !listed_ || !IsContainerRow(grdItems, row)) {
        HighlightGridRow(grdItems, row);
        return;
    }
    const BusyCursor busy;
    ExpandNdsNode(grdItems, cmbNdsTrees->currentText(), txtCurrentContext, LoadString(kQueueClass),
                  pictures_);
    listed_ = GridFilled();
    RowChanged();
}

void frmAddQueue::GoUp() {
    const BusyCursor busy;
    FillNdsTree(grdItems, cmbNdsTrees->currentText(), txtCurrentContext, LoadString(kQueueClass), pictures_);
    listed_ = GridFilled();
    wentUp_ = true;
    RowChanged();
}

bool frmAddQueue::SelectQueueRow(const QString& name) {
    for (int row = 0; listed_ && row < grdItems->rowCount(); ++row) {
        if (!IsContainerRow(grdItems, row) && SameNetWareName(GridRowName(grdItems, row), name)) {
            HighlightGridRow(grdItems, row);
            return true;
        }
    }
    return false;
}

void frmAddQueue::cmdLogin_Click() {
    if (!RefreshLoginState()) {
        return;
    }
    if (NwLoginResult != 0) {
        // Refused or cancelled: the chosen source's list again, quietly for a bindery one.
        quiet_ = Bindery();
        Bindery() ? cmbFileServers_Click() : cmbNdsTrees_Click();
        quiet_ = false;
    } else if (NwLoginKind == kLoginTree && loginStartKind_ == kLoginServerInTree) {
        UpdateSourceControls();
    } else if (NwLoginKind == kLoginBindery || NwLoginKind == kLoginServerInTree) {
        cmbFileServers_Click();
    } else {
        cmbNdsTrees_Click();
    }
}

void frmAddQueue::cmdCreateQueue_Click() {
    CrQueueBindery = Bindery() ? -1 : 0;
    CrQueueServer = cmbFileServers->currentText();
    CrQueueTree = cmbNdsTrees->currentText();
    CrQueueContext = txtCurrentContext->text();
    ShowCreateQueueDialog(this);
    if (CrQueueCreated != -1) {
        return;
    }
    keepContext_ = true;
    Bindery() ? cmbFileServers_Click() : cmbNdsTrees_Click();
    keepContext_ = false;
    // The mode and the add are for the queue just made, and for nothing else.
    if (!SelectQueueRow(CrQueueName)) {
        return;
    }
    cmdSelectMode_Click();
    if (cmdOk->isEnabled()) {
        if (ShowQuestion(LoadString(kAddCreatedQueue), State().productTitle) == kOk) {
            cmdOk_Click();
        } else {
            NetWare().queueListChanged = false;
        }
    }
}

void frmAddQueue::cmdDeleteQueue_Click() {
    const int row = grdItems->currentRow();
    const QString queue = GridRowName(grdItems, row);
    if (ShowQuestion(LoadString(kConfirmRemoval) + queue + "?", State().productTitle) != kOk) {
        return;
    }
    if (!Bindery() && IsContainerRow(grdItems, row)) {
        return;
    }
    NwResult result = kNwOk;
    {
        const BusyCursor busy;
        const QByteArray name = queue.toLatin1();
        if (Bindery()) {
            result = tessik::NwBiDeleteQueue(cmbFileServers->currentText().toLatin1().constData(),
                                             name.constData());
        } else {
            QByteArray tree = cmbNdsTrees->currentText().toLatin1();
            result = tessik::NwNdsDeleteQueue(tree.data(), name.constData(),
                                              txtCurrentContext->text().toLatin1().constData());
        }
    }
    if (result != kNwOk) {
        ShowResult(result, kWarning);
        return;
    }
    keepContext_ = true;
    Bindery() ? cmbFileServers_Click() : cmbNdsTrees_Click();
    keepContext_ = false;
}

void frmAddQueue::cmdSelectMode_Click() {
    PrintModeQueue = GridRowName(grdItems, grdItems->currentRow());
    PrintModeBindery = Bindery() ? -1 : 0;
    PrintModeServer = cmbFileServers->currentText();
    PrintModeTree = cmbNdsTrees->currentText();
    PrintModeContext = txtCurrentContext->text();
    ShowPrintModeDialog(this);
}

// The mode the print mode dialog chose for the queue (print server mode when none), and the print
// server and printer that go with it. False, with a message, when a remote printer's print server
// has no directory context.
bool frmAddQueue::ServiceOf(const QString& queue, Service& service) const {
    const bool bindery = Bindery();
    const QString tree = cmbNdsTrees->currentText();
    const int found = FindQueueMode(queue, bindery ? -1 : 0, cmbFileServers->currentText(), tree);
    const QueueModeEntry* entry = found >= 0 ? &QueueModeTable[static_cast<std::size_t>(found)] : nullptr;
    service.mode = bindery ? kBinderyPrintServer : kDirectoryPrintServer;
    if (entry != nullptr) {
        service.mode = entry->Mode;
    }
    if (IsPrintServerMode(service.mode)) {
        // The card is one print server in a tree: the context it already serves under, else the
        // context the queues are listed in.
        service.printServer = NetWare().defaultPrintServerName;
        service.printServerContext = txtCurrentContext->text();
        for (const ServicedQueue& serviced : NetWare().servicedQueues) {
            const QString context = ContextOf(serviced.printServer);
            if (IsPrintServerMode(serviced.mode) && SameNetWareName(serviced.queueHost, tree) &&
                !context.isEmpty()) {
                service.printServerContext = context;
                break;
            }
        }
        return true;
    }
    service.printServer = entry->PrintServer;
    service.printServerContext = entry->PrintServerContext;
    if (service.mode == kDirectoryRemotePrinter && service.printServerContext.isEmpty()) {
        ShowMessage(kNoPrintServerContext, kWarning);
        return false;
    }
    return true;
}

// One call sets the queue up in the directory and on the card. When the card refused after the
// directory had taken it, the directory's part is taken back, so that the two still agree; a
// service that was there before the command is left as it was.
NwResult frmAddQueue::AddToCard(const QString& queue, const Service& service) {
    const BusyCursor busy;
    const bool bindery = Bindery();
    ServicedQueue serviced;
    serviced.queueHost = bindery ? cmbFileServers->currentText() : cmbNdsTrees->currentText();
    serviced.queue = bindery ? queue : queue + '.' + txtCurrentContext->text();
    serviced.mode = service.mode;
    serviced.printServerHost = serviced.queueHost;
    serviced.printServer =
        bindery ? service.printServer : service.printServer + '.' + service.printServerContext;
    const bool before = ServicedBefore(serviced);
    const NwResult result = AddService(serviced);
    if (FailedAtTheCard(result) && !before) {
        RemoveService(serviced);
    }
    return result;
}

void frmAddQueue::cmdOk_Click() {
    busy_ = true;
    const QString queue = GridRowName(grdItems, grdItems->currentRow());
    Service service;
    if (!ServiceOf(queue, service)) {
        busy_ = false;
        return;
    }
    const NwResult result = AddToCard(queue, service);
    busy_ = false;
    if (result != kNwOk) {
        ShowNetWareSetupResult(result);
        return;
    }
    NetWare().queueListChanged = true;
    accept();
}

}  // namespace console
