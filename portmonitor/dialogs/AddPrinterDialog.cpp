#include "portmonitor/dialogs/AddPrinterDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "portmonitor/MonitorStrings.h"
#include "portmonitor/dialogs/DialogHelp.h"
#include "portmonitor/dialogs/HelperLibrary.h"
#include "portmonitor/dialogs/MonitorMessages.h"
#include "transport/HexCodec.h"

namespace {

enum Kind { kName = 81, kIp = 82, kIpx = 83, kMac = 84 };
constexpr int kHintOffset = 27;  // the hint of a kind is the string 27 below its id

QString Text(int id) {
    return QString::fromUtf8(LoadMonitorString(id));
}

QLineEdit* Box(int limit) {
    auto* box = new QLineEdit;
    box->setMaxLength(limit);
    return box;
}

// Left-padded with '0' to `width` hexadecimal digits; nothing when it holds anything else.
std::optional<std::string> HexField(const QString& text, std::size_t width) {
    std::string digits = text.trimmed().toStdString();
    if (digits.empty() || digits.size() > width || !IsHexText(digits.c_str(), digits.size())) {
        return std::nullopt;
    }
    return std::string(width - digits.size(), '0') + digits;
}

}  // namespace

AddPrinterDialog::AddPrinterDialog(QWidget* owner) : QDialog(owner) {
    setWindowTitle(Text(kStrAddPrinter));
    locate_ = new QLabel(Text(kStrLocateUsing));
    kinds_ = new QComboBox;
    for (int id = kName; id <= kMac; ++id) {
        kinds_->addItem(Text(id), id);
    }
    hint_ = new QLabel;
    hint_->setWordWrap(true);
    hint_->setMinimumHeight(70);
    name_ = Box(16);
    ipRow_ = new QWidget;
    auto* ipLayout = new QHBoxLayout(ipRow_);
    ipLayout->setContentsMargins(0, 0, 0, 0);
    for (std::size_t i = 0; i < ip_.size(); ++i) {
        ip_[i] = Box(3);
        ip_[i]->setMaximumWidth(50);
        if (i > 0) {
            ipLayout->addWidget(new QLabel("."));
        }
        ipLayout->addWidget(ip_[i]);
    }
    ipLayout->addStretch();
    ipxRow_ = new QWidget;
    auto* ipxLayout = new QHBoxLayout(ipxRow_);
    ipxLayout->setContentsMargins(0, 0, 0, 0);
    network_ = Box(8);
    node_ = Box(12);
    ipxLayout->addWidget(network_);
    ipxLayout->addWidget(node_);
    auto* ok = new QPushButton(Text(kStrOk));
    ok->setDefault(true);
    auto* cancel = new QPushButton(Text(kStrCancel));
    QPushButton* help = AddHelpButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {ok, cancel, help}) {
        buttons->addWidget(button);
    }
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(locate_);
    kindRow->addWidget(kinds_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kindRow);
    layout->addWidget(hint_);
    layout->addWidget(name_);
    layout->addWidget(ipRow_);
    layout->addWidget(ipxRow_);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(460, 220);

    connect(kinds_, &QComboBox::currentIndexChanged, this, &AddPrinterDialog::OnKind);
    connect(ok, &QPushButton::clicked, this, &AddPrinterDialog::Ok);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    OnKind(0);
}

int AddPrinterDialog::KindId() const {
    return kinds_->currentData().toInt();
}

void AddPrinterDialog::OnKind(int) {
    const int kind = KindId();
    hint_->setText(Text(kind - kHintOffset));
    name_->setVisible(kind == kName || kind == kMac);
    ipRow_->setVisible(kind == kIp);
    ipxRow_->setVisible(kind == kIpx);
}

std::optional<std::pair<std::string, int>> AddPrinterDialog::Address() const {
    switch (KindId()) {
        case kName: {
            const std::string name = name_->text().trimmed().toStdString();
            return name.empty() ? std::nullopt : std::optional(std::pair(name, 8));
        }
        case kIp: {
            std::string address;
            for (QLineEdit* box : ip_) {
                bool number = false;
                const int part = box->text().toInt(&number);
                if (!number || part < 0 || part > 255) {
                    return std::nullopt;
                }
                if (!address.empty()) {
                    address += '.';
                }
                address += std::to_string(part);
            }
            return address == "255.255.255.255" ? std::nullopt : std::optional(std::pair(address, 2));
        }
        case kIpx: {
            const std::optional<std::string> network = HexField(network_->text(), 8);
            const std::optional<std::string> node = HexField(node_->text(), 12);
            return network && node ? std::optional(std::pair(*network + *node, 1)) : std::nullopt;
        }
        default: {
            const std::optional<std::string> mac = HexField(name_->text(), 12);
            return mac && name_->text().trimmed().size() == 12 ? std::optional(std::pair(*mac, 4))
                                                               : std::nullopt;
        }
    }
}

void AddPrinterDialog::Ok() {
    const std::optional<std::pair<std::string, int>> address = Address();
    // An IP address that does not parse keeps the dialog open without a word.
    if (!address && KindId() == kIp) {
        return;
    }
    if (!address || !ValidateAdapter(address->first, address->second)) {
        ShowErrorMessage(kStrNoResponse);
        return;
    }
    accept();
}
