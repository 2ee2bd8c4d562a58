#include "console/core/dialogs/frmPreference.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "console/core/ConsoleState.h"
#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "console/core/dialogs/DialogKit.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace console {

namespace {

constexpr int kBaseId = 8000;
// The block's texts for five controls do not fit them: these are theirs.
constexpr int kAllCaption = 8012;
constexpr int kAutoRefreshFrame = 8013;
constexpr int kEnableAutoRefresh = 8014;
constexpr int kSeconds = 8015;
constexpr int kRefreshEvery = 8016;
constexpr int kChooseProtocols = 32100;
constexpr int kAfterRefresh = 32101;
constexpr int kMaxSeconds = 300;
constexpr std::uint32_t kIpx = 1;
constexpr std::uint32_t kIp = 2;
constexpr std::uint32_t kDlc = 4;
constexpr std::uint32_t kAll = 7;

// Detection asks over every protocol; with no choice stored (or none that means one) that is what
// the dialog shows.
std::uint32_t StoredProtocols() {
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kMyProtocolsKey);
    const std::uint32_t mask = key ? key->ReadNumber("Protocols").value_or(0) : 0;
    return mask >= 1 && mask <= kAll ? mask : kAll;
}

// A fresh store has no MyProtocols key yet: it is made.
void StoreProtocols(std::uint32_t mask) {
    if (auto key = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kMyProtocolsKey)) {
        key->WriteNumber("Protocols", mask);
    }
}

}  // namespace

frmPreference::frmPreference(QTimer* refreshTimer, QWidget* parent)
    : QDialog(parent),
      tmrRefresh(refreshTimer),
      timerWasRunning_(refreshTimer->isActive()),
      chkDLC_LLC(new QCheckBox("DLC/LLC")),
      chkIPX_SPX(new QCheckBox("IPX/SPX")),
      chkTCP_IP(new QCheckBox("TCP/IP")),
      chkAllProtocol(new QCheckBox("All")),
      chkAutoRefresh(new QCheckBox("Enable Auto Refresh")),
      txtRefreshTime(new QSpinBox),
      btnOK(new QPushButton("&OK")),
      btnCancel(new QPushButton("&Cancel")) {
    setObjectName("frmPreference");
    chkDLC_LLC->setObjectName("chkDLC_LLC");
    chkIPX_SPX->setObjectName("chkIPX_SPX");
    chkTCP_IP->setObjectName("chkTCP_IP");
    chkAllProtocol->setObjectName("chkAllProtocol");
    chkAutoRefresh->setObjectName("chkAutoRefresh");
    txtRefreshTime->setObjectName("txtRefreshTime");
    btnOK->setObjectName("btnOK");
    btnCancel->setObjectName("btnCancel");
    btnOK->setDefault(true);
    txtRefreshTime->setRange(0, kMaxSeconds);
    auto* Frame1 = new QGroupBox("Protocols");
    auto* protocols = new QGridLayout(Frame1);
    protocols->addWidget(chkTCP_IP, 0, 0);
    protocols->addWidget(chkIPX_SPX, 0, 1);
    protocols->addWidget(chkDLC_LLC, 1, 0);
    protocols->addWidget(chkAllProtocol, 1, 1);
    auto* Frame2 = new QGroupBox("Auto Refresh");
    auto* Label2 = new QLabel("Seconds");
    auto* Label1 = new QLabel("Automatic Refresh Every");
    auto* every = new QHBoxLayout;
    every->addWidget(Label1);
    every->addWidget(txtRefreshTime);
    every->addWidget(Label2);
    every->addStretch(1);
    auto* refresh = new QVBoxLayout(Frame2);
    refresh->addWidget(chkAutoRefresh);
    refresh->addLayout(every);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(Frame2);
    layout->addLayout(ButtonRow({btnOK, btnCancel}));
    LocalizeForm(this, kBaseId,
                 CaptionOrder() << Frame1 << chkDLC_LLC << chkIPX_SPX << chkTCP_IP << chkAllProtocol << Frame2
                                << chkAutoRefresh << Label2 << Label1 << btnCancel << btnOK);
    chkAllProtocol->setText(LoadString(kAllCaption));
    Frame2->setTitle(LoadString(kAutoRefreshFrame));
    chkAutoRefresh->setText(LoadString(kEnableAutoRefresh));
    Label2->setText(LoadString(kSeconds));
    Label1->setText(LoadString(kRefreshEvery));

    tmrRefresh->stop();
    const DisplayOptions& options = State().options;
    chkAutoRefresh->setChecked(options.autoRefresh == 1);
    txtRefreshTime->setValue(std::clamp(options.refreshSeconds, 0, kMaxSeconds));
    txtRefreshTime->setEnabled(chkAutoRefresh->isChecked());
    const std::uint32_t mask = StoredProtocols();
    chkDLC_LLC->setChecked((mask & kDlc) != 0);
    chkTCP_IP->setChecked((mask & kIp) != 0);
    chkIPX_SPX->setChecked((mask & kIpx) != 0);
    ProtocolBox_Click();
    for (QCheckBox* box : {chkDLC_LLC, chkIPX_SPX, chkTCP_IP}) {
        connect(box, &QCheckBox::clicked, this, &frmPreference::ProtocolBox_Click);
    }
    connect(chkAllProtocol, &QCheckBox::clicked, this, &frmPreference::chkAllProtocol_Click);
    connect(chkAutoRefresh, &QCheckBox::toggled, txtRefreshTime, &QWidget::setEnabled);
    connect(btnOK, &QPushButton::clicked, this, &frmPreference::btnOK_Click);
    connect(btnCancel, &QPushButton::clicked, this, &frmPreference::btnCancel_Click);
    CenterForm(this);
}

QCheckBox* frmPreference::Protocol(int bit) const {
    return bit == kIpx ? chkIPX_SPX : bit == kIp ? chkTCP_IP : chkDLC_LLC;
}

void frmPreference::chkAllProtocol_Click() {
    const bool all = chkAllProtocol->isChecked();
    for (QCheckBox* box : {chkDLC_LLC, chkIPX_SPX, chkTCP_IP}) {
        box->setChecked(false);
        box->setEnabled(!all);
    }
    if (!all) {
        chkTCP_IP->setChecked(true);
    }
}

void frmPreference::ProtocolBox_Click() {
    if (chkDLC_LLC->isChecked() && chkIPX_SPX->isChecked() && chkTCP_IP->isChecked()) {
        chkAllProtocol->setChecked(true);
        chkAllProtocol_Click();
    }
}

int frmPreference::ProtocolMask() const {
    if (chkAllProtocol->isChecked()) {
        return kAll;
    }
    return (chkTCP_IP->isChecked() ? kIp : 0) | (chkIPX_SPX->isChecked() ? kIpx : 0) |
           (chkDLC_LLC->isChecked() ? kDlc : 0);
}

// Nothing is stored until every choice is sound; a period of 0 turns the refresh off.
void frmPreference::btnOK_Click() {
    const int mask = ProtocolMask();
    if (mask == 0) {
        ShowMessage(kChooseProtocols, kCritical);
        return;
    }
    DisplayOptions& options = State().options;
    const int seconds = txtRefreshTime->value();
    const bool automatic = chkAutoRefresh->isChecked() && seconds > 0;
    options.autoRefresh = automatic ? 1 : 0;
    if (automatic) {
        options.refreshSeconds = seconds;
        tmrRefresh->start(seconds * 1000);
    }
    StoreProtocols(static_cast<std::uint32_t>(mask));
    accept();
    ShowPlainMessage(LoadString(kAfterRefresh), State().productTitle);
}

void frmPreference::btnCancel_Click() {
    reject();
}

void frmPreference::reject() {
    if (timerWasRunning_) {
        tmrRefresh->start();
    }
    QDialog::reject();
}

}  // namespace console
