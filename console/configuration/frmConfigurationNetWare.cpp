// The NetWare page's queue list and check delays: laid out, read from the card's NetWare service
// table and check delays, and the delays written back by OK.
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include "console/configuration/CheckDelayBox.h"
#include "console/configuration/ConfigurationLibraries.h"
#include "console/configuration/DialogBehaviours.h"
#include "console/configuration/frmConfiguration.h"
#include "console/core/FormHelpers.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "console/netware/NetWareGlobals.h"
#include "console/netware/NetWareLibraries.h"
#include "console/netware/ServicedQueues.h"

namespace console {

namespace {

constexpr int kNoClientLibrary = 12021;
constexpr int kGridTip = 9201;
constexpr int kFirstButtonTip = 9202;
constexpr int kNoQueues = 9405;
constexpr int kStatusOk = 9406;
constexpr int kStatusNotOk = 9407;
constexpr int kFirstHeader = 9408;
constexpr int kColumns = 6;
constexpr int kStatusColumn = 5;
constexpr std::uint32_t kQueueListRoom = 16384;
constexpr std::uint32_t kTreeListRoom = 7000;
constexpr double kColumnShares[kColumns - 1] = {0, 0.22, 0.2, 0.17, 0.22};

// The grid's cells hold text only; a person selects whole rows.
QTableWidget* QueueGrid() {
    auto* grid = new QTableWidget(0, kColumns);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setMinimumSectionSize(1);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setMinimumHeight(140);
    return grid;
}

void PutCell(QTableWidget* grid, int row, int column, const QString& text) {
    grid->setItem(row, column, new QTableWidgetItem(text));
}

QString StatusText(int status) {
    return status == 1 ? LoadString(kStatusOk) : status == 2 ? LoadString(kStatusNotOk) : QString();
}

// The grid's columns share its width (column 0 a mere spacer, the last the rest), none narrower than
// its header.
void ShareColumns(QTableWidget* grid, int outerWidth) {
    const int width = outerWidth - 2 * grid->frameWidth();
    const QHeaderView* header = grid->horizontalHeader();
    grid->setColumnWidth(0, 1);
    for (int column = 1; column < kColumns - 1; ++column) {
        const QString title = grid->horizontalHeaderItem(column) != nullptr
                                  ? grid->horizontalHeaderItem(column)->text()
                                  : QString();
        const int least = header->fontMetrics().horizontalAdvance(title) + 12;
        grid->setColumnWidth(column, std::max(static_cast<int>(width * kColumnShares[column]), least));
    }
}

// Delete and Insert in the grid act as "Remove Q" and "Add Q" while those are usable; the columns
// follow the grid's width.
class QueueGridEvents : public QObject {
  public:
    QueueGridEvents(QPushButton* remove, QPushButton* add, QObject* parent)
        : QObject(parent), remove_(remove), add_(add) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            ShareColumns(static_cast<QTableWidget*>(watched),
                         static_cast<QResizeEvent*>(event)->size().width());
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            QPushButton* button = key == Qt::Key_Delete ? remove_ : key == Qt::Key_Insert ? add_ : nullptr;
            if (button != nullptr) {
                if (button->isEnabled()) {
                    button->click();
                }
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QPushButton* remove_;
    QPushButton* add_;
};

}  // namespace

QWidget* frmConfiguration::ServicedQueuePanel() {
    auto* panel = new QGroupBox("&Serviced Queues");
    auto* layout = new QHBoxLayout(panel);
    grdQueues = QueueGrid();
    cmdAdd = new QPushButton("Add Q");
    cmdRemove = new QPushButton("Remove Q");
    cmdModify = new QPushButton("Modify Mode");
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {cmdAdd, cmdRemove, cmdModify}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addWidget(grdQueues, 1);
    layout->addLayout(buttons);
    return panel;
}

QWidget* frmConfiguration::CheckDelayPanel() {
    auto* panel = new QWidget;
    auto* form = new QFormLayout(panel);
    form->setContentsMargins(0, 0, 0, 0);
    txtCfgChkDelay = new CheckDelayBox(0, 60);
    txtJobChkDelay = new CheckDelayBox(10, 300);
    const auto withUnit = [](CheckDelayBox* box, const char* unit) {
        auto* row = new QHBoxLayout;
        row->addWidget(box);
        row->addWidget(new QLabel(unit));
        row->addStretch();
        return row;
    };
    for (const auto& [caption, box] : {std::pair{"Check Confi&guration every", txtCfgChkDelay},
                                       std::pair{"Check Job every", txtJobChkDelay}}) {
        auto* label = new QLabel(caption);
        label->setBuddy(box);
        form->addRow(label, withUnit(box, box == txtCfgChkDelay ? "minutes" : "seconds"));
    }
    return panel;
}

void frmConfiguration::ConnectNetWarePage() {
    connect(cmdAdd, &QPushButton::clicked, this, &frmConfiguration::cmdAdd_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmConfiguration::cmdRemove_Click);
    connect(cmdModify, &QPushButton::clicked, this, &frmConfiguration::cmdModify_Click);
    grdQueues->installEventFilter(new QueueGridEvents(cmdRemove, cmdAdd, this));
    ShowTipOnHover(grdQueues, lblTips, kGridTip);
    // The buttons' hints speak only while NetWare is switched on.
    int tip = kFirstButtonTip;
    for (QPushButton* button : {cmdAdd, cmdRemove, cmdModify}) {
        ShowTipOnHover(button, lblTips, tip++, [this] { return chkNetware->isChecked(); });
    }
}

void frmConfiguration::SetupQueueGrid() {
    grdQueues->clearContents();
    grdQueues->clearSpans();
    grdQueues->setRowCount(1);
    QStringList headers{QString()};
    for (int column = 1; column < kColumns; ++column) {
        headers << LoadString(kFirstHeader + column - 1);
    }
    grdQueues->setHorizontalHeaderLabels(headers);
    ShareColumns(grdQueues, grdQueues->width());
}

void frmConfiguration::ShowServicedQueue(int row, const ServicedQueue& queue) {
    PutCell(grdQueues, row, kStatusColumn, StatusText(queue.status));
    PutCell(grdQueues, row, 1, queue.queue);
    PutCell(grdQueues, row, 2, queue.printServerHost);
    PutCell(grdQueues, row, 3, ModeText(queue.mode));
    PutCell(grdQueues, row, 4, IsRemotePrinterMode(queue.mode) ? queue.printServer : "-");
}

bool frmConfiguration::LoadServicedQueues() {
    fillingGrid_ = true;
    // Until this card's table is read, nothing is known of what it services.
    NetWare().servicedQueues.clear();
    const BusyCursor busy;
    const QByteArray adapter = adapter_.toLatin1();
    QByteArray buffer(static_cast<qsizetype>(kQueueListRoom) + 1, ' ');
    std::uint32_t length = kQueueListRoom;
    std::uint32_t count = 0;
    const NwResult result = configlib::NwSNMPInit(adapter.constData(), buffer.data(), &length, &count);
    if (result != kNwOk) {
        ShowResult(result, kWarning);
        netWareUnavailable_ = true;
        fillingGrid_ = false;
        return false;
    }
    NetWare().servicedQueues =
        ReadServicedQueues(QString::fromLatin1(buffer.constData(), std::min(length, kQueueListRoom)));
    const std::vector<ServicedQueue>& queues = NetWare().servicedQueues;
    grdQueues->clearContents();
    grdQueues->clearSpans();
    grdQueues->setRowCount(std::max<int>(1, static_cast<int>(queues.size())));
    for (std::size_t row = 0; row < queues.size(); ++row) {
        ShowServicedQueue(static_cast<int>(row), queues[row]);
    }
    if (queues.empty()) {
        PutCell(grdQueues, 0, 1, LoadString(kNoQueues));
        grdQueues->setSpan(0, 1, 1, kColumns - 1);
    }
    grdQueues->selectRow(0);
    fillingGrid_ = false;
    return !queues.empty();
}

void frmConfiguration::LoadCheckDelays() {
    LoadServicedQueues();
    if (netWareUnavailable_) {
        return;
    }
    EnableQueueButtons();
    if (keepCheckDelays_) {
        return;
    }
    const BusyCursor busy;
    const QByteArray adapter = adapter_.toLatin1();
    std::int32_t configuration = 0;
    std::int32_t job = 0;
    NwResult result = configlib::NwSNMPGetCfgCheckDelay(adapter.constData(), &configuration);
    if (result == kNwOk) {
        result = configlib::NwSNMPGetJobCheckDelay(adapter.constData(), &job);
    }
    if (result != kNwOk) {
        ShowResult(result, kWarning);
        netWareUnavailable_ = true;
        return;
    }
    storedCfgDelay_ = configuration;
    storedJobDelay_ = job;
    txtCfgChkDelay->ShowCardValue(configuration);
    txtJobChkDelay->ShowCardValue(job);
}

int frmConfiguration::LoadNetWarePage() {
    NetWareSetup& setup = NetWare();
    setup.adapterName = adapter_;
    setup.defaultPrintServerName = DefaultPrintServerNameOf(adapter_);
    netWareUnavailable_ = false;
    QueueModeTable.clear();
    SetupQueueGrid();
    try {
        LoadCheckDelays();
        // Only whether the NetWare helper library can be called counts.
        QByteArray trees(static_cast<qsizetype>(kTreeListRoom) + 1, ' ');
        std::uint32_t length = kTreeListRoom;
        std::int32_t count = 0;
        tessik::NwListTrees(trees.data(), &length, &count);
    } catch (const LibraryMissing&) {
        netWareUnavailable_ = true;
        return kNoClientLibrary;
    }
    return 0;
}

// Reads the page again from the card after a queue was added, changed or removed.
void frmConfiguration::ReloadNetWarePage() {
    LoadNetWarePage();
    EnableQueueButtons();
}

void frmConfiguration::EnableQueueButtons() {
    const bool queues = !netWareUnavailable_ && !NetWare().servicedQueues.empty();
    const bool usable = netWareOn_ && NetWare().clientAvailable;
    cmdAdd->setEnabled(usable);
    cmdRemove->setEnabled(usable && queues);
    cmdModify->setEnabled(usable && queues);
    grdQueues->setEnabled(netWareOn_ && queues);
}

void frmConfiguration::SaveNetWarePage() {
    SaveCheckDelays();
}

// Only a delay that was read from the card and then changed is written; a failed job delay leaves the
// other unsent.
void frmConfiguration::SaveCheckDelays() {
    NwErrorDialogFlag = 0;
    if (netWareUnavailable_) {
        return;
    }
    const QByteArray adapter = adapter_.toLatin1();
    const std::pair<CheckDelayBox*, std::optional<int>> delays[] = {{txtJobChkDelay, storedJobDelay_},
                                                                    {txtCfgChkDelay, storedCfgDelay_}};
    for (const auto& [box, stored] : delays) {
        if (!stored || box->value() == *stored) {
            continue;
        }
        auto& set =
            box == txtJobChkDelay ? configlib::NwSNMPSetJobCheckDelay : configlib::NwSNMPSetCfgCheckDelay;
        const NwResult result = set(adapter.constData(), box->value());
        if (result != kNwOk) {
            ShowResult(result, kWarning);
            return;
        }
    }
}

}  // namespace console
