#include "console/core/dialogs/frmDocumentSettings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "console/core/FormHelpers.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kCaption = 6400;
constexpr int kFirstLabel = 6401;
constexpr int kOkText = 6405;
constexpr int kCancelText = 6406;
constexpr int kMaxCopies = 999;
constexpr std::uint32_t kPortrait = 3;

struct Choice {
    int text;
    const char* value;
};

// The CUPS names of the choices the dialog offers.
const Choice kMedia[] = {{6420, "iso_a4_210x297mm"},
                         {6421, "na_letter_8.5x11in"},
                         {6422, "na_legal_8.5x14in"},
                         {6423, "iso_a5_148x210mm"},
                         {6424, "na_executive_7.25x10.5in"}};
const Choice kSides[] = {{6430, "one-sided"}, {6431, "two-sided-long-edge"}, {6432, "two-sided-short-edge"}};
const Choice kOrientations[] = {{6440, "3"}, {6441, "4"}, {6442, "5"}, {6443, "6"}};

// A combo box of the choices, on the given value; a value it does not know is shown as it stands.
template <std::size_t N>
QComboBox* ChoiceBox(const Choice (&choices)[N], const QString& value) {
    auto* box = new QComboBox;
    for (const Choice& choice : choices) {
        box->addItem(LoadString(choice.text), QString(choice.value));
    }
    int at = box->findData(value);
    if (at < 0 && !value.isEmpty() && value != "0") {
        box->addItem(value, value);
        at = box->count() - 1;
    }
    box->setCurrentIndex(at);
    return box;
}

QString ChosenValue(const QComboBox* box) {
    return box->currentIndex() < 0 ? QString() : box->currentData().toString();
}

// The paper this machine prints on when nothing says otherwise, found as CUPS finds it: the
// PAPERSIZE variable, else the first word of the paper size file (PAPERCONF, else /etc/papersize),
// else the locale's (Letter where the US measure is used, A4 elsewhere).
QString MachinePaper() {
    QString name = qEnvironmentVariable("PAPERSIZE").trimmed();
    if (name.isEmpty()) {
        QFile file(qEnvironmentVariable("PAPERCONF", "/etc/papersize"));
        if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            for (const QString& line : QString::fromLocal8Bit(file.readAll()).split('\n')) {
                const QString word = line.section('#', 0, 0).trimmed().section(' ', 0, 0);
                if (!word.isEmpty()) {
                    name = word;
                    break;
                }
            }
        }
    }
    const std::pair<const char*, const char*> names[] = {{"a4", "iso_a4_210x297mm"},
                                                         {"letter", "na_letter_8.5x11in"},
                                                         {"legal", "na_legal_8.5x14in"},
                                                         {"a5", "iso_a5_148x210mm"},
                                                         {"executive", "na_executive_7.25x10.5in"}};
    for (const auto& [paper, media] : names) {
        if (name.compare(paper, Qt::CaseInsensitive) == 0) {
            return media;
        }
    }
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? "na_letter_8.5x11in"
                                                                      : "iso_a4_210x297mm";
}

// What a job on the queue gets: the queue's own defaults, and where it has none CUPS's (one side,
// portrait, the machine's paper), so that the dialog never opens on a blank choice.
plat::DocumentSettings InEffect(plat::DocumentSettings settings) {
    if (settings.media.empty()) {
        settings.media = MachinePaper().toStdString();
    }
    if (settings.sides.empty()) {
        settings.sides = kSides[0].value;
    }
    if (settings.orientation == 0) {
        settings.orientation = kPortrait;
    }
    return settings;
}

}  // namespace

frmDocumentSettings::frmDocumentSettings(const QString& printer, const plat::DocumentSettings& stored,
                                         QWidget* parent)
    : QDialog(parent), spnCopies(new QSpinBox), given_(stored) {
    const plat::DocumentSettings shown = InEffect(stored);
    cboMedia = ChoiceBox(kMedia, QString::fromStdString(shown.media));
    cboSides = ChoiceBox(kSides, QString::fromStdString(shown.sides));
    cboOrientation = ChoiceBox(kOrientations, QString::number(shown.orientation));
    setObjectName("frmDocumentSettings");
    setWindowTitle(LoadString(kCaption) + printer);
    spnCopies->setRange(1, kMaxCopies);
    spnCopies->setValue(stored.copies != 0 ? static_cast<int>(stored.copies) : 1);
    auto* form = new QFormLayout;
    QWidget* fields[] = {cboMedia, cboSides, cboOrientation, spnCopies};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(LoadString(kFirstLabel + i));
        label->setBuddy(fields[i]);
        form->addRow(label, fields[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(LoadString(kOkText));
    buttons->button(QDialogButtonBox::Cancel)->setText(LoadString(kCancelText));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(380);
    CenterForm(this);
}

plat::DocumentSettings frmDocumentSettings::Settings() const {
    plat::DocumentSettings settings = given_;
    settings.media = ChosenValue(cboMedia).toStdString();
    settings.sides = ChosenValue(cboSides).toStdString();
    settings.orientation = ChosenValue(cboOrientation).toUInt();
    settings.copies = static_cast<std::uint32_t>(spnCopies->value());
    return settings;
}

void InstallDocumentSettingsDialog(QWidget* parent) {
    plat::SetDocumentPropertiesDialog(
        [parent](std::uint32_t, const std::string& printer, plat::DocumentSettings& settings) {
            frmDocumentSettings dialog(QString::fromStdString(printer), settings, parent);
            if (dialog.exec() != QDialog::Accepted) {
                return false;
            }
            settings = dialog.Settings();
            return true;
        });
}

}  // namespace console
