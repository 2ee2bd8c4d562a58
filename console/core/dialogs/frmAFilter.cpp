#include "console/core/dialogs/frmAFilter.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "console/core/ConsoleState.h"
#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/PrinterStatus.h"
#include "console/core/StringTable.h"
#include "console/core/dialogs/DialogKit.h"

namespace console {

namespace {

constexpr int kBaseId = 1120;
constexpr int kFirstRule = 1150;
constexpr int kNameHeading = 1155;
constexpr int kAddressHeading = 1156;
constexpr int kStatusHeading = 1157;
constexpr int kStatusFilter = 5;

// A bracket that lists nothing can never match; an open one may still close.
QValidator::State PatternState(const QString& pattern) {
    for (qsizetype open = pattern.indexOf('['); open >= 0; open = pattern.indexOf('[', open)) {
        const qsizetype close = pattern.indexOf(']', open + 1);
        if (close < 0) {
            return QValidator::Intermediate;
        }
        if (close == open + 1) {
            return QValidator::Invalid;
        }
        open = close + 1;
    }
    return QValidator::Acceptable;
}

// Refuses, as it is typed, a name pattern that can never match.
class PatternFilter : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*position*/) const override { return PatternState(input); }
};

}  // namespace

bool PatternCanMatch(const QString& pattern) {
    return PatternState(pattern) == QValidator::Acceptable;
}

frmAFilter::frmAFilter(QWidget* parent)
    : QDialog(parent),
      lstRules(new QListWidget),
      txtFilter(new QLineEdit),
      cmbStatus(new QComboBox),
      lblHead(new QLabel("No Filter Selected")),
      pbuOk(new QPushButton("&OK")),
      pbuCancel(new QPushButton("&Cancel")),
      lblTips(new HintLine(this)) {
    setObjectName("frmAFilter");
    lstRules->setObjectName("lstRules");
    txtFilter->setObjectName("txtFilter");
    cmbStatus->setObjectName("cmbStatus");
    lblHead->setObjectName("lblHead");
    pbuOk->setObjectName("pbuOk");
    pbuCancel->setObjectName("pbuCancel");
    pbuOk->setDefault(true);
    lstRules->setMinimumSize(170, 120);
    cmbStatus->setEditable(false);
    auto* entry = new QVBoxLayout;
    entry->addWidget(lblHead);
    entry->addWidget(txtFilter);
    entry->addWidget(cmbStatus);
    entry->addStretch(1);
    auto* general = new QGroupBox;
    general->setObjectName("boxGeneral");
    auto* columns = new QHBoxLayout(general);
    columns->addWidget(lstRules);
    columns->addLayout(entry, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(general);
    layout->addWidget(HintPanel(lblTips));
    layout->addLayout(ButtonRow({pbuOk, pbuCancel}));
    LocalizeForm(this, kBaseId, CaptionOrder() << pbuOk << pbuCancel << lblHead);
    lblTips->Attach(lstRules, 15222);
    lblTips->Attach(txtFilter, 15223);
    for (const std::int32_t code : kPrinterStatusCodes) {
        cmbStatus->addItem(StatusCodeText(code), code);
    }
    for (int rule = kNameRule; rule <= kStatusRule; ++rule) {
        lstRules->addItem(LoadString(kFirstRule + rule));
    }
    cmbStatus->hide();
    txtFilter->setEnabled(false);
    const DisplayOptions& options = State().options;
    if (options.filterKind >= 1 && options.filterKind <= kStatusFilter) {
        lstRules->setCurrentRow(options.filterKind - 1);
        lstRules_Click();
        if (options.filterKind == kStatusFilter) {
            bool number = false;
            const int code = options.filterText.toInt(&number);
            const int index = number ? cmbStatus->findData(code) : -1;
            cmbStatus->setCurrentIndex(index >= 0 ? index : 0);
        } else {
            txtFilter->setText(options.filterText);
        }
    }
    connect(lstRules, &QListWidget::currentRowChanged, this, &frmAFilter::lstRules_Click);
    connect(pbuOk, &QPushButton::clicked, this, &frmAFilter::pbuOk_Click);
    connect(pbuCancel, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(460);
    CenterForm(this);
}

int frmAFilter::Rule() const {
    return lstRules->currentRow();
}

void frmAFilter::lstRules_Click() {
    const int rule = Rule();
    txtFilter->clear();
    txtFilter->setEnabled(rule != kNoRule);
    delete txtFilter->validator();
    switch (rule) {
        case kNameRule:
            txtFilter->setValidator(new PatternFilter(txtFilter));
            break;
        case kIpRule:
            txtFilter->setValidator(new CharacterFilter(QString(kDigits) + ".*?#", txtFilter));
            break;
        case kIpxRule:
        case kHardwareRule:
            txtFilter->setValidator(new CharacterFilter(QString(kHexDigits) + "*?#", txtFilter));
            break;
        default:
            break;
    }
    const bool status = rule == kStatusRule;
    lblHead->setText(LoadString(rule == kNameRule ? kNameHeading
                                : status          ? kStatusHeading
                                                  : kAddressHeading));
    txtFilter->setVisible(!status);
    cmbStatus->setVisible(status);
    if (status) {
        cmbStatus->setCurrentIndex(0);
    } else {
        txtFilter->setFocus();
    }
}

void frmAFilter::pbuOk_Click() {
    const int rule = Rule();
    DisplayOptions& options = State().options;
    if (rule == kStatusRule) {
        options.filterKind = kStatusFilter;
        options.filterText = QString::number(cmbStatus->currentData().toInt());
    } else if (rule != kNoRule) {
        if (!txtFilter->hasAcceptableInput()) {
            txtFilter->setFocus();
            return;
        }
        const bool pattern = !txtFilter->text().trimmed().isEmpty();
        options.filterKind = pattern ? rule + 1 : 0;
        options.filterText = pattern ? txtFilter->text() : options.filterText;
    }
    if (options.filterText == "*") {
        options.filterKind = 0;
    }
    accept();
}

}  // namespace console
