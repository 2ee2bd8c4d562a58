#include "console/core/dialogs/frmLocate.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"
#include "console/core/FormHelpers.h"
#include "console/core/InstalledPrinters.h"
#include "console/core/Libraries.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"
#include "console/core/OctetBoxes.h"
#include "console/core/PrintServerTable.h"
#include "console/core/StatusPolling.h"
#include "console/core/StringTable.h"
#include "console/core/dialogs/DialogKit.h"

namespace console {

namespace {

constexpr int kBaseId = 900;
constexpr int kFirstKind = 920;
constexpr int kNotContacted = 940;
constexpr int kEnterValue = 941;
constexpr int kNotReached = 1;
constexpr int kKinds[] = {kIpAddress, kIpxAddress, kDnsName, kMacAddress};
constexpr std::uint32_t kDottedRoom = 16;

QLineEdit* NewBox(const char* name, int maxLength, const char* allowed) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    if (maxLength > 0) {
        box->setMaxLength(maxLength);
    }
    if (allowed != nullptr) {
        box->setValidator(new CharacterFilter(allowed, box));
    }
    return box;
}

// One panel: its label above its boxes.
QWidget* Panel(const char* name, QLabel* label, QLayout* boxes) {
    auto* panel = new QWidget;
    panel->setObjectName(name);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addLayout(boxes);
    layout->addStretch(1);
    return panel;
}

// "010" is 10, "000" is 0: a leading zero is dropped as the address is read.
QString WithoutLeadingZeros(const QString& octet) {
    QString text = octet;
    while (text.size() > 1 && text.startsWith('0')) {
        text.remove(0, 1);
    }
    return text;
}

// The entry the store now holds for the address, by its kind: its hardware address, "" when none.
QString FoundAdapter(const QString& address, int kind, const QString& resolvedIp) {
    for (const PrintServerEntry& entry : State().servers) {
        const bool found = kind == kIpxAddress   ? entry.ipx.compare(address, Qt::CaseInsensitive) == 0
                           : kind == kMacAddress ? SameMac(entry.mac, address)
                                                 : entry.ip == resolvedIp;
        if (found) {
            return entry.mac;
        }
    }
    return {};
}

}  // namespace

frmLocate::frmLocate(QWidget* parent)
    : QDialog(parent),
      cmbProtocol(new QComboBox),
      panels_(new QStackedWidget),
      txtIPAddress(new OctetBoxes),
      txtIPX1(NewBox("txtIPX1", 8, kHexDigits)),
      txtIPX2(NewBox("txtIPX2", 12, kHexDigits)),
      txtDNSName(NewBox("txtDNSName", 0, nullptr)),
      txtMACAddress(NewBox("txtMACAddress", 12, kHexDigits)),
      pbuOK(new QPushButton("&OK")),
      pbuCancel(new QPushButton("&Cancel")) {
    setObjectName("frmLocate");
    cmbProtocol->setObjectName("cmbProtocol");
    pbuOK->setObjectName("pbuOK");
    pbuCancel->setObjectName("pbuCancel");
    pbuOK->setDefault(true);
    auto* macLabel = new QLabel("Enter MAC Address:");
    auto* ipLabel = new QLabel("Enter IP Address:");
    auto* ipxLabel = new QLabel("Enter IPX Address:");
    auto* dnsLabel = new QLabel("Enter DNS Name:");
    auto* usingLabel = new QLabel("Locate Print Server Using:");
    txtIPAddress->setObjectName("txtIPAddress");
    auto* octets = new QHBoxLayout;
    octets->addWidget(txtIPAddress);
    auto* ipx = new QHBoxLayout;
    ipx->addWidget(txtIPX1, 2);
    ipx->addWidget(new QLabel(":"));
    ipx->addWidget(txtIPX2, 3);
    auto* dns = new QHBoxLayout;
    dns->addWidget(txtDNSName);
    auto* mac = new QHBoxLayout;
    mac->addWidget(txtMACAddress);
    panels_->addWidget(Panel("pnlIP", ipLabel, octets));
    panels_->addWidget(Panel("pnlIPX", ipxLabel, ipx));
    panels_->addWidget(Panel("pnlDNS", dnsLabel, dns));
    panels_->addWidget(Panel("pnlMAC", macLabel, mac));
    auto* top = new QFormLayout;
    top->addRow(usingLabel, cmbProtocol);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(panels_);
    layout->addLayout(ButtonRow({pbuOK, pbuCancel}));
    LocalizeForm(
        this, kBaseId,
        CaptionOrder() << pbuOK << pbuCancel << macLabel << ipLabel << ipxLabel << dnsLabel << usingLabel);
    for (int kind = kIpIndex; kind <= kMacIndex; ++kind) {
        cmbProtocol->addItem(LoadString(kFirstKind + kind));
    }
    cmbProtocol->setCurrentIndex(kIpIndex);
    connect(cmbProtocol, &QComboBox::currentIndexChanged, this, &frmLocate::cmbProtocol_Click);
    connect(pbuOK, &QPushButton::clicked, this, &frmLocate::pbuOK_Click);
    connect(pbuCancel, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(400);
    CenterForm(this);
}

void frmLocate::cmbProtocol_Click() {
    const int index = cmbProtocol->currentIndex();
    if (index >= kIpIndex && index <= kMacIndex) {
        panels_->setCurrentIndex(index);
    }
}

QLineEdit* frmLocate::Octet(int i) const {
    return txtIPAddress->Box(i);
}

bool frmLocate::IpAddress(QString& address) {
    QStringList octets;
    for (QLineEdit* box : txtIPAddress->Boxes()) {
        box->setText(WithoutLeadingZeros(box->text()));
        if (!ValidateRange(box, 0, 255)) {
            box->setFocus();
            return false;
        }
        octets << box->text();
    }
    address = octets.join('.');
    return true;
}

void frmLocate::pbuOK_Click() {
    const int index = cmbProtocol->currentIndex();
    QString address;
    switch (index) {
        case kIpIndex:
            if (!IpAddress(address)) {
                return;
            }
            break;
        case kIpxIndex:
            address = txtIPX1->text().rightJustified(8, '0') + txtIPX2->text().rightJustified(12, '0');
            break;
        case kDnsIndex:
            address = txtDNSName->text().trimmed();
            break;
        case kMacIndex:
            address =
                txtMACAddress->text().isEmpty() ? QString() : txtMACAddress->text().rightJustified(12, '0');
            break;
        default:
            return;
    }
    if (address.isEmpty()) {
        ShowPlainMessage(LoadString(kEnterValue), State().productTitle);
        return;
    }
    Validate(address, kKinds[index]);
}

// The library's own reason is shown where it has one; a print server not reached is said plainly.
void frmLocate::Validate(const QString& address, int kind) {
    char resolved[kDottedRoom] = {};
    std::int32_t result = 0;
    {
        BusyCursor hourglass;
        result = halbrin::HelperValidateAdapterResolved(address.toLatin1().constData(), kind, resolved,
                                                        sizeof resolved);
    }
    if (result == kNotReached) {
        ShowPlainMessage(LoadString(kNotContacted), State().productTitle);
        return;
    }
    if (result != 0) {
        ShowResult(result, kWarning);
        return;
    }
    LoadPrintServerTable();
    MatchInstalledPrinters();
    located_ = FoundAdapter(address, kind, QString::fromLatin1(resolved));
    if (!located_.isEmpty()) {
        BusyCursor hourglass;
        PollOnePrinterStatus(located_, kMacAddress);
    }
    SaveCategory();
    BuildPrinterRows();
    accept();
}

}  // namespace console
