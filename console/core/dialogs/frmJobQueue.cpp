#include "console/core/dialogs/frmJobQueue.h"

#include <QFile>
#include <QHeaderView>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>

#include "confighelper/JobListFormat.h"
#include "console/core/ConsoleState.h"
#include "console/core/FormHelpers.h"
#include "console/core/InstalledPrinters.h"
#include "console/core/Libraries.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kBaseId = 6000;
constexpr int kJobsInQueue = 6008;
constexpr int kErrorNumber = 6030;
constexpr int kFirstColumn = 6100;
constexpr int kFirstStatus = 6201;
constexpr int kStatusBits = 11;
constexpr int kFirstTip = 6300;
constexpr int kRefreshMs = 5000;
constexpr int kColumns = 8;
constexpr int kPrinterColumn = 7;
constexpr std::uint32_t kPathRoom = 200;
constexpr int kJobIdRole = Qt::UserRole;
constexpr int kTwipsPerPixel = 15;  // the stored widths are in twips
enum Item { kItemPause, kItemResume, kItemCancel, kItemClose, kItemRefresh, kItemViewMenu };

// The first set status bit, as " " and its text; higher bits are not shown.
QString StatusText(std::uint32_t status) {
    for (int bit = 0; bit < kStatusBits; ++bit) {
        if ((status & (1u << bit)) != 0) {
            return ' ' + LoadString(kFirstStatus + bit);
        }
    }
    return {};
}

std::uint32_t Unsigned(const std::string& text) {
    return static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
}

}  // namespace

frmJobQueue::frmJobQueue(QWidget* parent)
    : QDialog(parent),
      menuBar_(new QMenuBar),
      tbarJobQ(new QToolBar),
      lstJobQueue(new QTreeWidget),
      sbarJobQ(new QStatusBar),
      Timer1(new QTimer(this)) {
    setObjectName("frmJobQueue");
    lstJobQueue->setObjectName("lstJobQueue");
    lstJobQueue->setRootIsDecorated(false);
    lstJobQueue->setUniformRowHeights(true);
    lstJobQueue->setAllColumnsShowFocus(true);
    sbarJobQ->setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar_);
    layout->addWidget(tbarJobQ);
    layout->addWidget(lstJobQueue, 1);
    layout->addWidget(sbarJobQ);
    BuildMenus();
    Timer1->setInterval(kRefreshMs);
    connect(Timer1, &QTimer::timeout, this, &frmJobQueue::mnuRefresh_Click);
    connect(lstJobQueue, &QTreeWidget::itemSelectionChanged, this, &frmJobQueue::EnableJobCommands);
    Timer1->start();
    LocalizeForm(this, kBaseId, captionOrder_);
    const int tips[] = {kItemRefresh, kItemPause, kItemResume, kItemCancel};
    for (int i = 0; i < 4; ++i) {
        items_[tips[i]]->setToolTip(LoadString(kFirstTip + i));
    }
    resize(860, 320);
    const PrinterRow* row = CurrentPrinter();
    if (row == nullptr) {
        return;
    }
    BuildColumns();
    CenterForm(this);
    mac_ = row->mac;
    setWindowTitle(LoadString(kBaseId).trimmed() + " : " + row->name);
    mnuRefresh_Click();
}

frmJobQueue::~frmJobQueue() {
    Timer1->stop();
}

void frmJobQueue::BuildMenus() {
    QMenu* printer = menuBar_->addMenu("&Printer");
    items_[kItemPause] = printer->addAction("&Pause", this, [this] { JobCommand(1); });
    items_[kItemResume] = printer->addAction("&Resume", this, [this] { JobCommand(2); });
    items_[kItemCancel] = printer->addAction("&Cancel", this, [this] { JobCommand(3); });
    printer->addSeparator();
    items_[kItemClose] = printer->addAction("&Close", this, &QDialog::reject);
    QMenu* view = menuBar_->addMenu("&View");
    items_[kItemViewMenu] = view->menuAction();
    items_[kItemRefresh] = view->addAction("&Refresh", this, &frmJobQueue::mnuRefresh_Click);
    captionOrder_ << printer << items_[kItemPause] << items_[kItemResume] << items_[kItemCancel]
                  << items_[kItemClose] << view << items_[kItemRefresh];
    const QStyle::StandardPixmap pictures[] = {QStyle::SP_BrowserReload, QStyle::SP_MediaPause,
                                               QStyle::SP_MediaPlay, QStyle::SP_DialogCancelButton};
    const Item order[] = {kItemRefresh, kItemPause, kItemResume, kItemCancel};
    tbarJobQ->setIconSize(QSize(18, 18));
    for (int i = 0; i < 4; ++i) {
        items_[order[i]]->setIcon(style()->standardIcon(pictures[i]));
        tbarJobQ->addAction(items_[order[i]]);
    }
    for (Item item : {kItemPause, kItemResume, kItemCancel}) {
        items_[item]->setEnabled(false);
    }
}

void frmJobQueue::BuildColumns() {
    QStringList titles;
    for (int column = 0; column < kColumns; ++column) {
        titles << LoadString(kFirstColumn + column);
    }
    lstJobQueue->setHeaderLabels(titles);
    const auto& widths = State().options.jobQueueWidths;
    for (int column = 0; column < kColumns; ++column) {
        if (widths[static_cast<std::size_t>(column)] > 0) {
            lstJobQueue->setColumnWidth(column, widths[static_cast<std::size_t>(column)] / kTwipsPerPixel);
        }
    }
}

// Messages never stack: the refresh waits while one is shown.
int frmJobQueue::ShowStoppingTimer(const std::function<int()>& show) {
    const bool running = Timer1->isActive();
    Timer1->stop();
    const int answer = show();
    if (running) {
        Timer1->start();
    }
    return answer;
}

void frmJobQueue::mnuRefresh_Click() {
    if (mac_.isEmpty()) {
        return;
    }
    const QTreeWidgetItem* selected = lstJobQueue->currentItem();
    const std::uint32_t keptJob = selected != nullptr ? selected->data(0, kJobIdRole).toUInt() : 0;
    const QString keptPrinter = selected != nullptr ? selected->text(kPrinterColumn) : QString();
    auto& widths = State().options.jobQueueWidths;
    for (int column = 0; column < kColumns; ++column) {
        widths[static_cast<std::size_t>(column)] = lstJobQueue->columnWidth(column) * kTwipsPerPixel;
    }
    lstJobQueue->clear();
    for (const QString& printer : InstalledPrintersOf(mac_)) {
        char path[kPathRoom] = {};
        std::uint32_t size = sizeof path;
        const QByteArray name = printer.trimmed().toUtf8();
        if (halbrin::HelperRefreshJobQueue32(name.constData(), 0, 0, path, &size) != 0) {
            continue;
        }
        AddJobs(printer, QString::fromLocal8Bit(path));
    }
    SelectJob(keptJob, keptPrinter);
    EnableJobCommands();
    sbarJobQ->showMessage(QString::number(lstJobQueue->topLevelItemCount()) + LoadString(kJobsInQueue));
}

void frmJobQueue::AddJobs(const QString& printer, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowStoppingTimer([&] {
            return ShowPlainMessage(
                LoadString(kErrorNumber) + ' ' + QString::number(file.error()) + '\r' + file.errorString(),
                State().productTitle);
        });
        return;
    }
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        const auto fields = joblist::ParseQuotedFields(std::string_view(line.constData(), line.size()));
        if (!fields || fields->size() != joblist::kFieldCount) {
            continue;  // not a job line
        }
        const auto text = [&](std::size_t field) { return QString::fromStdString((*fields)[field]); };
        auto* item = new QTreeWidgetItem(QStringList{text(2), StatusText(Unsigned((*fields)[1])), text(3),
                                                     text(4), text(5), text(6), text(7), printer});
        item->setData(0, kJobIdRole, Unsigned((*fields)[0]));
        item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
        lstJobQueue->addTopLevelItem(item);
    }
}

// Pause, Resume and Cancel act on the chosen job: without one they are not offered.
void frmJobQueue::EnableJobCommands() {
    const QTreeWidgetItem* chosen = lstJobQueue->currentItem();
    const bool job = chosen != nullptr && chosen->isSelected();
    for (Item item : {kItemPause, kItemResume, kItemCancel}) {
        items_[item]->setEnabled(job);
    }
}

// The job of that id on that printer, when it is still listed: never another job of the same name.
void frmJobQueue::SelectJob(std::uint32_t jobId, const QString& printer) {
    for (int i = 0; i < lstJobQueue->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lstJobQueue->topLevelItem(i);
        if (jobId != 0 && item->data(0, kJobIdRole).toUInt() == jobId &&
            item->text(kPrinterColumn) == printer) {
            lstJobQueue->setCurrentItem(item);
            return;
        }
    }
}

void frmJobQueue::JobCommand(std::int32_t command) {
    const QTreeWidgetItem* selected = lstJobQueue->currentItem();
    if (selected == nullptr || !selected->isSelected()) {
        return;
    }
    const QByteArray printer = selected->text(kPrinterColumn).trimmed().toUtf8();
    char path[kPathRoom] = {};
    std::uint32_t size = sizeof path;
    const std::int32_t result = halbrin::HelperRefreshJobQueue32(
        printer.constData(), command, selected->data(0, kJobIdRole).toUInt(), path, &size);
    // The job list emptied by the command is no failure.
    if (result != 0 && result != kHelperNoJobs) {
        ShowStoppingTimer([&] { return ShowResult(result, kWarning); });
    }
    mnuRefresh_Click();
}

}  // namespace console
