#include "console/properties/frmTftp.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"
#include "console/core/FirmwareServerWindow.h"
#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"
#include "console/core/OctetBoxes.h"
#include "console/core/Pictures.h"
#include "console/core/StringTable.h"
#include "console/properties/FirmwareRequests.h"
#include "console/properties/RouteAddress.h"
#include "firmware/FirmwareMessages.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace console {

namespace {

constexpr int kBaseId = 7000;
constexpr int kOkCaption = 7009;
constexpr int kColumnIds[] = {7020, 7021, 7022};
constexpr int kColumnWidths[] = {130, 130, 130};  // pixels
constexpr int kRequestReceived = 7030;
constexpr int kInProgress = 7031;
constexpr int kCompleted = 7032;
constexpr int kNetworkError = 7033;
constexpr int kAwaitingRequest = 7035;
constexpr int kNoFileChosen = 7036;
constexpr int kUseFrontPanel = 7037;
constexpr int kNoResponse = 7038;
constexpr int kFailure = 7040;
constexpr int kServerGone = 7041;
constexpr int kSelectPrinter = 7042;
constexpr int kPathTooLong = 7046;
constexpr int kNoFileName = 7047;
constexpr int kNoRoute = 7048;
constexpr int kPathRefused = 7049;
constexpr int kStartRefused = 7050;
constexpr int kCancelled = 7052;
constexpr int kSentUnconfirmed = 7053;
constexpr int kFileNotFound = 32102;
constexpr int kProductTitle = 0;
constexpr std::uint16_t kNetworkErrorEvent = 1029;

constexpr int kTypedLength = 50;
constexpr int kLongestPath = 100;
constexpr std::uint32_t kFlashFileRoom = 128;
constexpr int kAttempts = 10;
constexpr int kServerCheckMs = 2000;

void Plain(int id) {
    ShowPlainMessage(LoadString(id), LoadString(kProductTitle));
}

}  // namespace

frmTftp::frmTftp(QAction* mnuFlash, QWidget* parent)
    : QDialog(parent),
      mnuFlash_(mnuFlash),
      events_([this](std::uint16_t event, std::uint16_t percentage) { Form_MouseDown(event, percentage); }),
      SSPanel1(new QFrame),
      chkDefault(new QCheckBox("Set as Default Download File")),
      txtFileName(new QLineEdit),
      pbuBrowse(new QPushButton("Browse")),
      Label1(new QLabel("Firmware File Name:")),
      optDaemon(new QRadioButton("Wait Printer Request:")),
      optIp(new QRadioButton("Enter IP Address:")),
      txtIP(new OctetBoxes),
      optList(new QRadioButton("Select the Print Server:")),
      lstPrinters(new QTreeWidget),
      lblTftp(new QFrame),
      progressbar(new QProgressBar),
      lblProgress(new QLabel),
      pbuCancel(new QPushButton("Cancel")),
      pbuStart(new QPushButton("Start")),
      Timer1(new QTimer(this)) {
    setObjectName("frmTftp");
    BuildLayout();
    LocalizeForm(this, kBaseId,
                 CaptionOrder() << chkDefault << pbuBrowse << Label1 << optDaemon << optIp << optList
                                << pbuCancel << pbuStart);
    Timer1->setInterval(kServerCheckMs);
    connect(Timer1, &QTimer::timeout, this, &frmTftp::Timer1_Timer);
    connect(txtFileName, &QLineEdit::textChanged, this, &frmTftp::txtFileName_Change);
    connect(txtFileName, &QLineEdit::textEdited, this, &frmTftp::txtFileName_Edited);
    connect(pbuBrowse, &QPushButton::clicked, this, &frmTftp::pbuBrowse_Click);
    connect(pbuStart, &QPushButton::clicked, this, &frmTftp::pbuStart_Click);
    connect(pbuCancel, &QPushButton::clicked, this, &frmTftp::pbuCancel_Click);
    for (QRadioButton* option : {optList, optIp, optDaemon}) {
        connect(option, &QRadioButton::clicked, this, &frmTftp::ApplyMode);
    }
}

frmTftp::~frmTftp() = default;

void frmTftp::BuildLayout() {
    auto* file = new QHBoxLayout;
    file->addWidget(Label1);
    file->addWidget(txtFileName, 1);
    file->addWidget(pbuBrowse);
    txtFileName->setMinimumWidth(260);

    lstPrinters->setRootIsDecorated(false);
    lstPrinters->setColumnCount(3);
    lstPrinters->setMinimumHeight(130);
    lstPrinters->setAllColumnsShowFocus(true);

    auto* panel = new QGridLayout(SSPanel1);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->setVerticalSpacing(8);
    panel->addLayout(file, 0, 0, 1, 2);
    panel->addWidget(chkDefault, 1, 0, 1, 2);
    panel->addWidget(optList, 2, 0, 1, 2);
    panel->addWidget(lstPrinters, 3, 0, 1, 2);
    panel->addWidget(optIp, 4, 0);
    panel->addWidget(txtIP, 4, 1);
    panel->addWidget(optDaemon, 5, 0, 1, 2);
    panel->setColumnStretch(1, 1);

    auto* status = new QVBoxLayout(lblTftp);
    status->setContentsMargins(8, 6, 8, 6);
    status->addWidget(lblProgress);
    status->addWidget(progressbar);
    lblTftp->setFrameShape(QFrame::StyledPanel);
    lblTftp->setFrameShadow(QFrame::Sunken);
    progressbar->setRange(0, 100);
    progressbar->setTextVisible(false);
    lblProgress->setMinimumHeight(lblProgress->fontMetrics().height());
    lblProgress->setWordWrap(true);  // a long end state takes two lines rather than widening the dialog

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(pbuStart, QDialogButtonBox::ActionRole);
    buttons->addButton(pbuCancel, QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(12);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(SSPanel1);
    layout->addWidget(lblTftp);
    layout->addWidget(buttons);
    MakeDefaultButton(pbuStart);
}

void frmTftp::Form_Load() {
    lstPrinters->setEnabled(true);
    fileNameGiven_ = false;
    ResetDialog();
    LoadStoredSettings();
    FillPrinterList();
    optList->setChecked(true);
    if (lstPrinters->topLevelItemCount() > 0) {
        lstPrinters->setCurrentItem(lstPrinters->topLevelItem(0));
    }
    ApplyMode();
    CenterForm(this);
}

void frmTftp::LoadStoredSettings() {
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kTftpKey);
    if (!key) {
        return;
    }
    storedDefault_ = key->ReadTextWithin("FlashFile", kFlashFileRoom);
    if (storedDefault_) {
        txtFileName->setText(QString::fromStdString(*storedDefault_));
    }
    chkDefault->setChecked(key->ReadNumber("DefaultSetting").value_or(0) == 1);
}

void frmTftp::FillPrinterList() {
    QStringList headers;
    for (int id : kColumnIds) {
        headers << LoadString(id);
    }
    lstPrinters->setHeaderLabels(headers);
    for (int column = 0; column < 3; ++column) {
        lstPrinters->header()->resizeSection(column, kColumnWidths[column]);
    }
    for (const PrintServerEntry& entry : State().servers) {
        if (entry.ip == "0.0.0.0" || entry.ip.isEmpty() || entry.detected < 1) {
            continue;
        }
        auto* row = new QTreeWidgetItem(lstPrinters, QStringList{entry.ip, entry.name, entry.mac});
        row->setIcon(0, StatusIconPicture(1));
    }
}

void frmTftp::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    optList->setFocus();
    ApplyMode();
}

void frmTftp::ApplyMode() {
    const bool list = optList->isChecked();
    const bool address = optIp->isChecked();
    lstPrinters->setEnabled(list);
    for (QLineEdit* box : txtIP->Boxes()) {
        if (!address) {
            box->clear();
        }
        box->setEnabled(address);
    }
}

void frmTftp::EnableTargetChoice(bool enable) {
    for (QRadioButton* option : {optList, optIp, optDaemon}) {
        option->setEnabled(enable);
    }
    if (enable) {
        ApplyMode();
        return;
    }
    lstPrinters->setEnabled(false);
    for (QLineEdit* box : txtIP->Boxes()) {
        box->setEnabled(false);
    }
}

void frmTftp::ResetDialog() {
    readyToStart_ = true;
    failureReportArmed_ = true;
    started_ = false;
    Timer1->start();
    if (mnuFlash_ != nullptr) {
        mnuFlash_->setEnabled(false);
    }
    ShowStatusArea(false);
    pbuStart->setEnabled(true);
    pbuStart->setText(LoadString(kBaseId + 8));
    EnableTargetChoice(true);
    SSPanel1->setEnabled(true);
}

void frmTftp::ShowStatusArea(bool shown) {
    lblTftp->setVisible(shown);
    if (shown) {
        progressbar->setValue(0);
    }
}

void frmTftp::SetStatus(const QString& text) {
    lblProgress->setText(text);
    emit StatusShown(text);
}

// Typing stops at 50 characters; a path put in by the file choice or the store stays whole.
void frmTftp::txtFileName_Edited(const QString& text) {
    if (text.size() > kTypedLength) {
        txtFileName->setText(typedText_);
        return;
    }
    typedText_ = text;
}

void frmTftp::txtFileName_Change(const QString& text) {
    typedText_ = text;
    if (text.size() > kLongestPath) {
        Plain(kPathTooLong);
        fileNameGiven_ = false;
        return;
    }
    fileNameGiven_ = !text.isEmpty();
}

QLineEdit* frmTftp::IpBox(int index) const {
    return txtIP->Box(index);
}

void frmTftp::pbuBrowse_Click() {
    const QString path = QFileDialog::getOpenFileName(this, LoadString(kBaseId));
    if (path.isEmpty()) {
        Plain(kNoFileChosen);
        fileNameGiven_ = true;
        return;
    }
    if (path.size() > kLongestPath) {
        Plain(kPathTooLong);
        return;
    }
    txtFileName->setText(path);
    fileNameGiven_ = true;
}

// The firmware server serves only the file the store names: the chosen file is named there before
// any transfer. "Set as Default Download File" decides only whether it stays named after the dialog.
void frmTftp::SaveFirmwareSettings() {
    const auto key =
        plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kTftpKey, plat::kStoreReadWrite);
    if (!key) {
        return;
    }
    const std::string path = txtFileName->text().toStdString();
    if (!path.empty() && key->WriteText("FlashFile", path) == 0) {
        defaultReplaced_ = true;
    }
    key->WriteNumber("DefaultSetting", chkDefault->isChecked() ? 1 : 0);
}

void frmTftp::RestoreStoredDefault() {
    if (!defaultReplaced_ || chkDefault->isChecked()) {
        return;
    }
    const auto key =
        plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kTftpKey, plat::kStoreReadWrite);
    if (key) {
        storedDefault_ ? key->WriteText("FlashFile", *storedDefault_) : key->DeleteValue("FlashFile");
    }
}

void frmTftp::pbuStart_Click() {
    SaveFirmwareSettings();
    if (!readyToStart_) {
        Finish();
        return;
    }
    SetStatus(LoadString(kAwaitingRequest));
    pbuStart->setEnabled(false);
    EnableTargetChoice(false);
    SSPanel1->setEnabled(false);
    readyToStart_ = false;
    if (optDaemon->isChecked()) {
        started_ = true;
        Plain(kUseFrontPanel);
        ShowStatusArea(true);
        return;
    }
    QString target;
    QString address;
    if (!TakeTarget(target, address)) {
        ResetDialog();
        return;
    }
    const QString path = txtFileName->text();
    if (!path.isEmpty()) {
        const QFileInfo file(path);
        if (!file.isFile() || file.isHidden()) {
            Plain(kFileNotFound);
            ResetDialog();
            return;
        }
    }
    ShowStatusArea(true);
    SendDownload(target, address);
}

// The print server to set (adapter name or dotted address) and its address; false after a message.
bool frmTftp::TakeTarget(QString& target, QString& address) {
    if (optList->isChecked()) {
        const QTreeWidgetItem* row = lstPrinters->currentItem();
        if (row == nullptr) {
            Plain(kSelectPrinter);
            return false;
        }
        target = row->text(2);
        address = row->text(0);
    } else {
        for (QLineEdit* box : txtIP->Boxes()) {
            if (!ValidateRange(box, 0, 255)) {
                box->setFocus();
                return false;
            }
        }
        QStringList parts;
        for (QLineEdit* box : txtIP->Boxes()) {
            parts << QString::number(box->text().trimmed().toInt());
        }
        target = address = parts.join('.');
    }
    if (!fileNameGiven_) {
        Plain(kNoFileName);
        return false;
    }
    return true;
}

void frmTftp::SendDownload(const QString& target, const QString& address) {
    const std::optional<QString> pcAddress = LocalAddressToward(address);
    if (!pcAddress) {
        Plain(kNoRoute);
        ResetDialog();
        return;
    }
    std::int32_t result = 0;
    const DownloadOutcome outcome = StartDownload({target, optIp->isChecked()}, *pcAddress,
                                                  txtFileName->text().toUtf8(), kAttempts, result);
    if (closing_) {
        return;
    }
    switch (outcome) {
        case DownloadOutcome::kStarted:
            started_ = true;
            return;
        case DownloadOutcome::kNoResponse:
            Plain(kNoResponse);
            break;
        case DownloadOutcome::kRefused:
            Plain(kPathRefused);
            break;
        case DownloadOutcome::kNotStarted:
            ShowMessageEx(kStartRefused, kWarning, ResultText(result));
            break;
    }
    ResetDialog();
}

void frmTftp::Form_MouseDown(std::uint16_t event, std::uint16_t percentage) {
    if (closing_) {
        return;
    }
    if (State().firmwareWindow == 0) {
        State().firmwareWindow = StoredFirmwareWindow();
        return;
    }
    switch (event) {
        case kTftpEventRequestReceived:
            SetStatus(LoadString(kRequestReceived));
            break;
        case kTftpEventProgress:
            SetStatus(LoadString(kInProgress) + " " + QString::number(percentage) + " %");
            progressbar->setValue(std::min<int>(percentage, 100));
            break;
        // The end of a transfer this dialog never asked for is not taken.
        case kTftpEventComplete:
            if (started_) {
                ShowEnd(kCompleted);
                StopServer();
            }
            break;
        case kTftpEventSentUnconfirmed:
            // The server reports this as it ends: its going away afterwards is no news.
            if (started_) {
                Timer1->stop();
                ShowEnd(kSentUnconfirmed);
            }
            break;
        case kNetworkErrorEvent:
            SetStatus(LoadString(kNetworkError));
            break;
        case kTftpEventFailed:
            if (!failureReportArmed_) {
                break;
            }
            failureReportArmed_ = false;
            Timer1->stop();
            ShowMessage(kFailure, kWarning);
            Finish();
            break;
        default:
            break;
    }
}

// The transfer is over as far as this PC can tell: the Start button now reads "OK" and closes the
// dialog.
void frmTftp::ShowEnd(int statusId) {
    completed_ = true;
    SetStatus(LoadString(statusId));
    progressbar->setValue(100);
    pbuStart->setEnabled(true);
    pbuStart->setText(LoadString(kOkCaption));
    pbuCancel->setEnabled(false);
    EnableTargetChoice(true);
    SSPanel1->setEnabled(true);
}

void frmTftp::Timer1_Timer() {
    if (plat::IsWindow(State().firmwareWindow)) {
        return;
    }
    Timer1->stop();
    ShowMessage(kServerGone, kCritical);
    Finish();
}

void frmTftp::StopServer() {
    if (IsFirmwareServerWindow(State().firmwareWindow)) {
        plat::SendMessage(State().firmwareWindow, WM_TFTP_STOP, 0, 0);
    }
}

void frmTftp::pbuCancel_Click() {
    StopServer();
    if (started_ && !completed_) {
        SetStatus(LoadString(kCancelled));
    }
    Finish();
}

void frmTftp::Finish() {
    reject();
}

// Closing, whatever the reason: the server is released and closed once, and what it still reports
// meanwhile is not acted on.
void frmTftp::done(int result) {
    if (!closing_) {
        closing_ = true;
        Timer1->stop();
        ReleaseFirmwareServer(State().firmwareWindow);
        if (mnuFlash_ != nullptr) {
            mnuFlash_->setEnabled(true);
        }
        RestoreStoredDefault();
        State().firmwareWindow = 0;
    }
    QDialog::done(result);
}

}  // namespace console
