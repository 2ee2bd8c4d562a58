#include "console/core/frmProgress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include "console/core/FormHelpers.h"
#include "console/core/InstalledPrinters.h"
#include "console/core/Libraries.h"
#include "console/core/Messages.h"
#include "console/core/NoticeBox.h"
#include "console/core/PrintServerTable.h"
#include "console/core/QueuePump.h"
#include "console/core/StatusPolling.h"
#include "console/core/StringTable.h"
#include "platform/window/Window.h"

namespace console {

namespace {

constexpr int kCaption = 32000;
constexpr int kIpxSent = 32001;
constexpr int kUdpSent = 32002;
constexpr int kSapSent = 32003;
constexpr int kTotal = 32004;
constexpr int kPrintersDetected = 32005;
constexpr int kScanningStore = 32006;
constexpr int kComplete = 32007;
constexpr int kDlcSent = 32008;
constexpr int kCouldNotRun = 12093;
constexpr int kNothingSent = 12094;
constexpr int kReadingEntry = 308;
constexpr int kReadingStatus = 309;
constexpr int kAnswersUpTo = 60;
constexpr std::uint32_t kRepaintMs = 20;
constexpr int kShowEveryMs = 40;

}  // namespace

frmProgress::frmProgress(QWidget* parent)
    : QDialog(parent),
      DetectShow(new QListWidget),
      DetectProgress(new QProgressBar),
      lblStatus(new QLabel),
      txtInterface(
          std::make_unique<NoticeBox>([this](const QString& notice) { txtInterface_Change(notice); })),
      showPending_(new QTimer(this)) {
    setObjectName("frmProgress");
    setWindowTitle(LoadString(kCaption));
    setModal(true);
    DetectShow->setObjectName("DetectShow");
    DetectShow->setUniformItemSizes(true);
    showPending_->setSingleShot(true);
    showPending_->setInterval(kShowEveryMs);
    connect(showPending_, &QTimer::timeout, this, &frmProgress::ShowPending);
    DetectProgress->setObjectName("DetectProgress");
    DetectProgress->setRange(0, 100);
    DetectProgress->setValue(0);
    lblStatus->setObjectName("lblStatus");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DetectShow);
    layout->addWidget(lblStatus);
    layout->addWidget(DetectProgress);
    resize(460, 280);
    CenterForm(this);
}

frmProgress::~frmProgress() = default;

void frmProgress::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        QTimer::singleShot(0, this, &frmProgress::Form_Activate);
    }
}

// The person cannot close the dialog while the detection runs.
void frmProgress::closeEvent(QCloseEvent* event) {
    if (finished_) {
        QDialog::closeEvent(event);
    } else {
        event->ignore();
    }
}

void frmProgress::AddLine(const QString& line) {
    pendingLines_ << line;
    ShowSoon();
}

// What waits is shown at once when the dialog was last brought up to date a while ago, else in
// time for the next painting.
void frmProgress::ShowSoon() {
    if (!sinceShown_.isValid() || sinceShown_.elapsed() >= kShowEveryMs) {
        ShowPending();
    } else if (!showPending_->isActive()) {
        showPending_->start();
    }
    QueuePump::KeepPainted();
}

// The lines that came meanwhile go in together, the last one selected.
void frmProgress::ShowPending() {
    showPending_->stop();
    if (!pendingLines_.isEmpty()) {
        DetectShow->addItems(pendingLines_);
        pendingLines_.clear();
        DetectShow->setCurrentRow(DetectShow->count() - 1);
    }
    if (!pendingStep_.isNull()) {
        lblStatus->setText(pendingStep_);
        pendingStep_ = QString();
    }
    sinceShown_.start();
}

void frmProgress::txtInterface_Change(const QString& notice) {
    switch (notice.isEmpty() ? 0 : notice[0].digitValue()) {
        case 1:
            AddLine(LoadString(kUdpSent));
            break;
        case 2:
            AddLine(LoadString(kIpxSent));
            break;
        case 3:
            AddLine(LoadString(kSapSent));
            DetectProgress->setValue(10);
            break;
        case 4:
            AddLine(".");
            if (DetectProgress->value() < kAnswersUpTo) {
                DetectProgress->setValue(DetectProgress->value() + 1);
            }
            break;
        case 5:
            detectionFinished_ = true;
            AddLine(LoadString(kTotal) + notice.mid(1) + LoadString(kPrintersDetected));
            DetectProgress->setValue(30);
            break;
        case 7:
            AddLine(LoadString(kDlcSent));
            DetectProgress->setValue(5);
            break;
        default:
            break;
    }
}

// One step of the table reload or the status poll: the status line names the print server, and the
// dialog is painted now and then, so that it keeps up without slowing a long list down.
void frmProgress::ShowStep(int textId, const QString& name) {
    pendingStep_ = LoadString(textId) + name;
    ShowSoon();
}

void frmProgress::Form_Activate() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    DetectShow->clear();
    DetectProgress->setValue(0);
    // The library pumps messages while it listens, and lets the console paint after each; a timer of
    // this thread's own makes sure a message comes often enough while no answer does.
    const std::uintptr_t heartbeat = plat::SetTimer(
        0, 0, kRepaintMs, [](plat::WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {});
    result_ = halbrin::HelperDetectPrintServers(0, 0, 0, 0, 0, txtInterface->Handle());
    plat::KillTimer(0, heartbeat);
    emit DetectionEnded();
    AddLine(LoadString(kScanningStore));
    ShowPending();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // Each print server is asked for its status as soon as its entry is read: reading the table takes
    // no time of its own beside the poll, which mostly waits for answers.
    StatusPoll poll;
    LoadPrintServerTable([this](const QString& name) { ShowStep(kReadingEntry, name); },
                         [&poll](std::size_t index) { poll.Add(index); }, detectionFinished_);
    DetectProgress->setValue(60);
    poll.Finish([this](const QString& name) { ShowStep(kReadingStatus, name); });
    DetectProgress->setValue(90);
    MatchInstalledPrinters();
    DetectProgress->setValue(100);
    SaveCategory();
    BuildPrinterRows();
    ShowPending();
    lblStatus->clear();
    QApplication::restoreOverrideCursor();
    ReportEnd();
    accept();
}

// A detection that could not run says so, with the library's code when it gave one; one that sent no
// request at all ends without its count (the library answers 0 then). The tables are still rebuilt
// from the store, but "Operation Complete." is not claimed.
void frmProgress::ReportEnd() {
    const bool nothingSent = result_ == 0 && !detectionFinished_;
    if (nothingSent) {
        AddLine(LoadString(kNothingSent));
    } else if (result_ == 0) {
        AddLine(LoadString(kComplete));
    } else {
        AddLine(LoadString(kCouldNotRun) + ' ' + ResultText(result_) + " (" + QString::number(result_) + ')');
    }
    ShowPending();
    finished_ = true;
    if (nothingSent) {
        ShowMessage(kNothingSent, kWarning);
    } else if (result_ != 0) {
        ShowResult(result_, kWarning);
    }
}

}  // namespace console
