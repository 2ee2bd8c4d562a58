// The rules between the printer properties dialog's controls: which paper sizes the tray and
// duplex allow, the lock tray and tray switch, the margins the paper allows, the duplex margins,
// and pitch or point size by typeface. Lists offer only what the printer's masks allow.
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>

#include "console/core/StringTable.h"
#include "console/properties/EngineTypeRule.h"
#include "console/properties/NumberBox.h"
#include "console/properties/frmProperties.h"

namespace console {

namespace {

constexpr std::size_t kStandardPapers = 16;
constexpr std::size_t kFolio = 12;
constexpr int kLastPitchFace = 6;
constexpr int kLastPointFace = 44;
const char* const kOff = "Off";
const char* const kOn = "On";
const char* const kAutoTray = "Auto";
const char* const kFirstTray = "First";
const char* const kOptionTray = "Option";
const char* const kCustom = "Custom";

// Paper sizes 1 to count - 1 and Folio, or all sixteen.
ChoiceTable FirstPapers(const ChoiceTable& papers, std::size_t count) {
    if (count >= kStandardPapers) {
        return ChoiceTable(papers.begin(), papers.begin() + kStandardPapers);
    }
    ChoiceTable entries(papers.begin(),
                        papers.begin() + static_cast<std::ptrdiff_t>(count == 0 ? 0 : count - 1));
    entries.push_back(papers[kFolio]);
    return entries;
}

ChoiceTable WithText(const ChoiceTable& table, std::initializer_list<const char*> texts) {
    ChoiceTable entries;
    for (const ChoiceEntry& entry : table) {
        if (std::any_of(texts.begin(), texts.end(), [&](const char* text) { return entry.text == text; })) {
            entries.push_back(entry);
        }
    }
    return entries;
}

// A printer without duplex counts as duplex off.
bool DuplexOff(const QString& duplex) {
    return duplex.isEmpty() || duplex == kOff;
}

}  // namespace

QString frmProperties::TextOf(Setting setting) const {
    return List(setting)->currentText();
}

std::pair<QWidget*, QLabel*> frmProperties::ControlOf(Setting setting) const {
    if (const auto list = lists_.find(setting); list != lists_.end()) {
        return {list->second.list, list->second.label};
    }
    const NumberControl& number = numbers_.at(setting);
    return {number.box, number.label};
}

void frmProperties::EnableSetting(Setting setting, bool enabled) {
    const auto [control, label] = ControlOf(setting);
    control->setEnabled(enabled);
    label->setEnabled(enabled);
}

void frmProperties::ShowSetting(Setting setting, bool visible) {
    const auto [control, label] = ControlOf(setting);
    control->setVisible(visible);
    label->setVisible(visible);
}

// Refills the list with the entries the printer's mask allows; it keeps its choice when it still
// has it, else takes the first.
void frmProperties::RebuildList(Setting setting, const ChoiceTable& entries) {
    QComboBox* list = List(setting);
    const QString before = list->currentText();
    const auto mask = masks_.find(setting);
    FillList(list, mask == masks_.end() ? entries : Offered(entries, mask->second));
    const int kept = list->findText(before, Qt::MatchExactly | Qt::MatchCaseSensitive);
    list->setCurrentIndex(kept >= 0 ? kept : (list->count() > 0 ? 0 : -1));
}

void frmProperties::ApplyPaperSizeRule() {
    const QString tray = TextOf(Setting::Tray);
    std::size_t count = 0;
    if (engineType_ == kEngineCompact) {
        count = !DuplexOff(TextOf(Setting::Duplex)) ? 4
                : tray == kFirstTray                ? 7
                : tray == kOptionTray               ? 11
                                                    : 16;
    } else if (engineType_ == kEngineOffice) {
        count = tray == kFirstTray || tray == kOptionTray ? 7 : 16;
    }
    RebuildList(Setting::PaperSize, FirstPapers(choices_[Setting::PaperSize], count));
    ApplyMarginRule();
}

void frmProperties::ApplyPaperTypeRule() {
    if (engineType_ == kEngineCustomPaper) {
        return;
    }
    QComboBox* list = List(Setting::PaperType);
    const std::int64_t mask = masks_[Setting::PaperType];
    for (const ChoiceEntry& entry :
         ChoiceTable(choices_[Setting::PaperType].begin(), choices_[Setting::PaperType].begin() + 2)) {
        if ((entry.code & mask) != 0 && list->findText(entry.text, Qt::MatchExactly) < 0) {
            list->addItem(entry.text);
        }
    }
}

void frmProperties::ApplyMPSizeRule() {
    const ChoiceTable& papers = choices_[Setting::MpSize];
    RebuildList(Setting::MpSize, DuplexOff(TextOf(Setting::Duplex)) ? FirstPapers(papers, kStandardPapers)
                                                                    : FirstPapers(papers, 4));
}

void frmProperties::ApplyLockTrayRule() {
    if (TextOf(Setting::TraySwitch) == kOn && TextOf(Setting::Tray) != kAutoTray) {
        if (List(Setting::Tray)->findText(kOptionTray, Qt::MatchExactly) >= 0) {
            RebuildList(Setting::LockTray, choices_[Setting::LockTray]);
            List(Setting::LockTray)->setCurrentIndex(List(Setting::LockTray)->count() > 0 ? 0 : -1);
            EnableSetting(Setting::LockTray, List(Setting::LockTray)->count() > 0);
        }
        return;
    }
    EnableSetting(Setting::LockTray, false);
}

void frmProperties::ApplyTraySwitchRule() {
    if (TextOf(Setting::Tray) == kAutoTray) {
        RebuildList(Setting::TraySwitch, WithText(choices_[Setting::TraySwitch], {kOff, kOn}));
        QComboBox* list = List(Setting::TraySwitch);
        if (const int on = list->findText(kOn, Qt::MatchExactly); on >= 0) {
            list->setCurrentIndex(on);
        }
        EnableSetting(Setting::TraySwitch, list->count() > 0);
    } else {
        EnableSetting(Setting::TraySwitch, false);
    }
    ApplyLockTrayRule();
}

// Caps the top and left margins at what the paper allows in the chosen orientation; a custom
// paper size keeps the margins and the limits it had.
void frmProperties::ApplyMarginRule() {
    const std::optional<MarginLimits> limits = PaperMargins(TextOf(Setting::PaperSize));
    if (!limits) {
        return;
    }
    const bool portrait = optPortrait->isChecked();
    largestTop_ = portrait ? limits->top : limits->left;
    largestLeft_ = portrait ? limits->left : limits->top;
    for (const auto& [setting, largest] :
         {std::pair{Setting::TopMargin, largestTop_}, std::pair{Setting::LeftMargin, largestLeft_}}) {
        NumberBox* box = Box(setting);
        box->SetMaximum(largest);
        if (box->Number().value_or(0) > largest) {
            box->ShowNumber(largest);
            if (!loading_) {
                slots_.Store(setting, NumberText(largest * numbers_.at(setting).scale));
            }
        }
    }
}

void frmProperties::ApplyDuplexRule() {
    const bool on = !DuplexOff(TextOf(Setting::Duplex)) && List(Setting::Duplex)->count() > 0;
    for (Setting setting : {Setting::DuplexTop, Setting::DuplexLeft, Setting::ShortEdge, Setting::LongEdge}) {
        EnableSetting(setting, on);
    }
}

void frmProperties::ApplyTypefaceRule() {
    const int face = cmbTypeFace->currentIndex();
    const bool pitch = face >= 0 && face <= kLastPitchFace;
    const bool point = face > kLastPitchFace && face <= kLastPointFace;
    EnableSetting(Setting::Pitch, pitch);
    EnableSetting(Setting::Point, point);
    if (!pitch) {
        slots_.ClearChanged(Setting::Pitch);
    }
    if (!point) {
        slots_.ClearChanged(Setting::Point);
    }
}

void frmProperties::ApplyCustomPaperRule() {
    if (engineType_ != kEngineCustomPaper) {
        return;
    }
    const bool custom = TextOf(Setting::PaperSize).compare(kCustom, Qt::CaseInsensitive) == 0;
    EnableSetting(Setting::CustomWidth, custom);
    EnableSetting(Setting::CustomHeight, custom);
}

}  // namespace console
