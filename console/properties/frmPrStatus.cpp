#include "console/properties/frmPrStatus.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"
#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"
#include "console/core/PrintServerTable.h"
#include "console/core/PrinterStatus.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kBaseId = 1300;
constexpr int kInvalidStatus = 1330;
constexpr int kTextKind = 2;
constexpr int kNumberKind = 1;
constexpr std::int32_t kRefused = 25011;

const char* const kSysName = "1.3.6.1.2.1.1.5.0";
const char* const kSysLocation = "1.3.6.1.2.1.1.6.0";
const char* const kWhoIsPrinting = "1.3.6.1.4.1.32473.11.5.1.12.4.2.0";
const char* const kPrinterStatus = "1.3.6.1.4.1.32473.11.5.1.1.9.1.0";

QLineEdit* ReadOnlyBox() {
    auto* box = new QLineEdit;
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setMinimumWidth(280);
    return box;
}

// A text the print server left empty keeps what the store holds.
QString KeptText(const QString& read, const QString& stored) {
    return read.isEmpty() ? stored : read;
}

}  // namespace

frmPrStatus::frmPrStatus(QWidget* parent)
    : QDialog(parent),
      pbuQuit(new QPushButton("&Close")),
      lblStatus(new QLabel("Printer Status:")),
      txtStatus(ReadOnlyBox()),
      lblPanel(new QLabel("Who is printing?")),
      txtWho(ReadOnlyBox()),
      Label1(new QLabel("Printer Name:")),
      txtPrintServerName(ReadOnlyBox()),
      Label2(new QLabel("Printer Description:")),
      txtDescription(ReadOnlyBox()) {
    setObjectName("frmPrStatus");
    auto* fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fields->addRow(Label1, txtPrintServerName);
    fields->addRow(Label2, txtDescription);
    fields->addRow(lblPanel, txtWho);
    fields->addRow(lblStatus, txtStatus);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(pbuQuit, QDialogButtonBox::RejectRole);
    connect(pbuQuit, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(12);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    MakeDefaultButton(pbuQuit);
    LocalizeForm(this, kBaseId, CaptionOrder() << pbuQuit << lblStatus << lblPanel << Label1 << Label2);
    setFixedSize(sizeHint());
}

bool frmPrStatus::ReadText(const char* oid, QLineEdit* box) {
    QString value;
    const std::int32_t result = GetObjects(adapter_, oid, value, kTextKind);
    if (result != 0) {
        ShowResult(result, kWarning);
        return false;
    }
    box->setText(value);
    return true;
}

// The status code, or kStatusUnknown when the print server refused the read or its answer is no
// number: such a status is never stored. None after a failed read (shown).
std::optional<std::int32_t> frmPrStatus::ReadStatus() {
    QString value;
    const std::int32_t result = GetObjects(adapter_, kPrinterStatus, value, kNumberKind);
    if (result != 0 && result != kRefused) {
        ShowResult(result, kWarning);
        return std::nullopt;
    }
    bool number = false;
    const std::int32_t code = result == 0 ? value.trimmed().toInt(&number) : kStatusUnknown;
    if (!number) {
        txtStatus->setText(StatusCodeText(kStatusUnknown));
        return kStatusUnknown;
    }
    txtStatus->setText(StatusSlot(code) ? StatusCodeText(code) : LoadString(kInvalidStatus));
    return code;
}

bool frmPrStatus::Form_Load() {
    CenterForm(this);
    const PrinterRow* row = CurrentPrinter();
    if (row == nullptr) {
        return false;
    }
    adapter_ = row->mac;
    const std::uint32_t category = row->category;
    if (!ReadText(kSysName, txtPrintServerName) || !ReadText(kSysLocation, txtDescription) ||
        !ReadText(kWhoIsPrinting, txtWho)) {
        return false;
    }
    const std::optional<std::int32_t> status = ReadStatus();
    if (!status) {
        return false;
    }
    const PrintServerEntry* entry = FindServer(adapter_);
    const QString name = KeptText(txtPrintServerName->text(), entry ? entry->name : row->name);
    const QString description =
        KeptText(txtDescription->text(), entry ? entry->description : row->description);
    StoreRecordIO(adapter_, name, description, {}, category, *status);
    return true;
}

}  // namespace console
