// How the printer properties dialog reads the printer: its engine type, the choices each menu
// offers and the values it holds.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "console/properties/DeviceRequests.h"
#include "console/properties/EngineTypeRule.h"
#include "console/properties/NumberBox.h"
#include "console/properties/frmProperties.h"

namespace console {

namespace {

constexpr int kNotRead = 4671;
constexpr int kModelDetails = 4672;
constexpr int kPrintingMenu = 4673;
constexpr int kConfigMenu = 4674;
constexpr int kJobMenu = 4675;
constexpr int kPclMenu = 4677;
constexpr int kPsMenu = 4678;
constexpr int kUnknownEngine = 12110;
const char* const kModel = "1.3.6.1.4.1.32473.11.5.1.1.1.1.1.0";
const char* const kVersion = "1.3.6.1.4.1.32473.11.5.1.1.1.1.2.0";
const char* const kTypeWord = "1.3.6.1.4.1.32473.11.5.1.1.1.1.3.0";

std::int64_t Number(const QString& text) {
    return text.trimmed().toLongLong();
}

// The config menu's settings: only the office engine has the altitude.
std::vector<Setting> ConfigSettings(int engineType) {
    std::vector<Setting> settings = {Setting::Emulation,   Setting::TraySwitch,   Setting::LockTray,
                                     Setting::PowerSave,   Setting::AutoContinue, Setting::TonerSave,
                                     Setting::JamRecovery, Setting::TonerLow};
    if (engineType == kEngineOffice) {
        settings.push_back(Setting::Altitude);
    }
    return settings;
}

}  // namespace

void frmProperties::ReportReadFailure(std::int32_t result, int menuName) {
    ShowMessageEx(kNotRead, kWarning, LoadString(menuName) + " (" + ResultText(result) + ")");
    readOk_ = false;
}

void frmProperties::ReadAllMenus() {
    DetectEngineType();
    if (!readOk_) {
        return;
    }
    const bool postScript = HasPostScript();
    lblPS->setEnabled(postScript);
    cmdPS->setEnabled(postScript);
    slots_.BuildSettingsTable(engineType_);
    FillChoiceLists();
    if (ReadAllCapabilities()) {
        ReadAllValues();
    }
}

void frmProperties::DetectEngineType() {
    if (const PrinterRow* row = CurrentPrinter()) {
        txtPrinterName->setText(row->name);
    }
    QString reply;
    const std::int32_t result = GetObjectList(adapter_, {kModel, kVersion}, reply);
    if (result != 0) {
        ReportReadFailure(result, kModelDetails);
        return;
    }
    readOk_ = true;
    const std::vector<QString> values = ParseReply(reply);
    txtModel->setText(values.empty() ? QString() : values[0]);
    txtVersion->setText(values.size() < 2 ? QString() : values[1]);
    engineType_ = EngineTypeByModel(txtModel->text(), txtVersion->text());
    if (engineType_ != 0) {
        return;
    }
    engineType_ = kEngineCompact;
    // A type word that cannot be read leaves the engine type 2, without a word.
    if (GetObjectList(adapter_, {kTypeWord}, reply) != 0) {
        return;
    }
    const std::vector<QString> word = ParseReply(reply);
    const int byWord = EngineTypeByWord(static_cast<std::int32_t>(word.empty() ? 0 : Number(word[0])));
    if (byWord == 0) {
        ShowPlainMessage(LoadString(kUnknownEngine), State().productTitle);
        return;
    }
    engineType_ = byWord;
    // An external print server has no front panel: nothing more is read.
    readOk_ = engineType_ != kEngineExternal;
}

void frmProperties::FillChoiceLists() {
    choices_.clear();
    for (const auto& [setting, control] : lists_) {
        choices_[setting] = MakeChoiceTable(setting, engineType_);
    }
    // Symbol sets have no mask: the list holds them all but the two that engine type 4 keeps back.
    ChoiceTable symbols = choices_[Setting::SymbolSet];
    if (engineType_ == kEngineCustomPaper) {
        symbols.resize(symbols.size() - 2);
    }
    FillList(List(Setting::SymbolSet), symbols);
    cmbTypeFace->clear();
    for (const QString& face : TypefaceTexts()) {
        cmbTypeFace->addItem(face);
    }
}

// One request for an object of each setting; a failure is reported with the menu's name.
std::int32_t frmProperties::ReadObjects(const std::vector<Setting>& settings, SlotOid oid, int menuName,
                                        std::vector<QString>& objects) {
    QStringList oids;
    for (Setting setting : settings) {
        oids << (slots_.*oid)(setting);
    }
    QString reply;
    const std::int32_t result = GetObjectList(adapter_, oids, reply);
    if (result != 0) {
        ReportReadFailure(result, menuName);
        return result;
    }
    readOk_ = true;
    objects = ParseReply(reply);
    return 0;
}

bool frmProperties::ReadCapabilities(const std::vector<Setting>& settings, int menuName) {
    std::vector<QString> masks;
    if (ReadObjects(settings, &PropertySlots::CapabilityOid, menuName, masks) != 0) {
        return false;
    }
    for (std::size_t i = 0; i < settings.size(); ++i) {
        ShowCapability(settings[i], i < masks.size() ? Number(masks[i]) : 0);
    }
    return true;
}

void frmProperties::ShowCapability(Setting setting, std::int64_t mask) {
    masks_[setting] = mask;
    if (setting == Setting::Orientation || setting == Setting::RobustXon) {
        Option(setting, true)->setEnabled(mask != 0);
        Option(setting, false)->setEnabled(mask != 0);
        if (setting == Setting::RobustXon) {
            lblXon->setEnabled(mask != 0);
        }
        return;
    }
    const ChoiceTable offered = Offered(choices_[setting], mask);
    FillList(List(setting), offered);
    // An empty paper size list stays enabled, as the printer's own panel shows it.
    EnableSetting(setting, setting == Setting::PaperSize || !offered.empty());
}

bool frmProperties::ReadPrintingCapabilities() {
    if (engineType_ == kEngineCustomPaper) {
        return ReadCapabilities(
            {Setting::PaperSize, Setting::Orientation, Setting::Tray, Setting::AutoCr, Setting::Resolution},
            kPrintingMenu);
    }
    return ReadCapabilities({Setting::PaperSize, Setting::MpSize, Setting::Orientation, Setting::Tray,
                             Setting::Duplex, Setting::AutoCr, Setting::Resolution, Setting::WideA4},
                            kPrintingMenu);
}

bool frmProperties::ReadConfigCapabilities() {
    if (engineType_ != kEngineOffice) {
        List(Setting::Altitude)->clear();
        EnableSetting(Setting::Altitude, false);
    }
    return ReadCapabilities(ConfigSettings(engineType_), kConfigMenu);
}

bool frmProperties::ReadJobCapabilities() {
    return ReadCapabilities({Setting::Srt, Setting::Density, Setting::PaperType, Setting::Smet,
                             Setting::BaudRate, Setting::RobustXon, Setting::Courier},
                            kJobMenu);
}

bool frmProperties::ReadPostScriptCapabilities() {
    return engineType_ != kEngineCustomPaper || ReadCapabilities({Setting::PsError}, kPsMenu);
}

bool frmProperties::ReadAllCapabilities() {
    return ReadPrintingCapabilities() && ReadConfigCapabilities() && ReadJobCapabilities() &&
           ReadPostScriptCapabilities();
}

std::int32_t frmProperties::ReadValues(const std::vector<Setting>& settings, int menuName) {
    std::vector<QString> values;
    const std::int32_t result = ReadObjects(settings, &PropertySlots::ValueOid, menuName, values);
    for (std::size_t i = 0; i < settings.size() && i < values.size(); ++i) {
        ShowValue(settings[i], values[i].trimmed());
    }
    return result;
}

void frmProperties::ShowValue(Setting setting, const QString& value) {
    slots_.Keep(setting, value);
    const std::int64_t number = Number(value);
    switch (setting) {
        case Setting::Orientation:
            (value == "1" ? optPortrait : optLandscape)->setChecked(true);
            return;
        case Setting::RobustXon:
            (value == "1" ? optXOFF : optXON)->setChecked(true);
            return;
        case Setting::Typeface:
            cmbTypeFace->setCurrentIndex(static_cast<int>(number));
            return;
        case Setting::SymbolSet:
            SelectValue(List(setting), choices_[setting], number, true);
            return;
        default:
            break;
    }
    if (numbers_.count(setting) != 0) {
        ShowNumberOf(setting, value);
    } else if (QComboBox* list = List(setting)) {
        SelectValue(list, choices_[setting], number);
    }
}

void frmProperties::ShowNumberOf(Setting setting, const QString& valueText) {
    NumberControl& control = numbers_.at(setting);
    control.box->ShowNumber(static_cast<double>(Number(valueText)) / control.scale);
    control.edited = false;
}

std::int32_t frmProperties::ReadPostScriptValues() {
    return engineType_ == kEngineCustomPaper ? ReadValues({Setting::PsError}, kPsMenu) : 0;
}

std::int32_t frmProperties::ReadPrintingValues() {
    const std::int32_t result =
        engineType_ == kEngineCustomPaper
            ? ReadValues({Setting::PaperSize, Setting::Copies, Setting::Orientation, Setting::Tray,
                          Setting::TopMargin, Setting::LeftMargin, Setting::AutoCr, Setting::Resolution,
                          Setting::CustomWidth, Setting::CustomHeight},
                         kPrintingMenu)
            : ReadValues({Setting::PaperSize, Setting::MpSize, Setting::Copies, Setting::Orientation,
                          Setting::Tray, Setting::TopMargin, Setting::LeftMargin, Setting::Duplex,
                          Setting::AutoCr, Setting::Resolution, Setting::WideA4},
                         kPrintingMenu);
    if (result == 0) {
        ApplyPaperTypeRule();
        ApplyMarginRule();
        ApplyCustomPaperRule();
    }
    return result;
}

std::int32_t frmProperties::ReadConfigValues() {
    return ReadValues(ConfigSettings(engineType_), kConfigMenu);
}

std::int32_t frmProperties::ReadJobValues() {
    const std::int32_t result =
        ReadValues({Setting::Srt, Setting::IoTimeout, Setting::Density, Setting::PaperType, Setting::Smet,
                    Setting::DuplexTop, Setting::DuplexLeft, Setting::ShortEdge, Setting::LongEdge},
                   kJobMenu);
    if (result == 0) {
        ApplyDuplexRule();
        lblOpc->setEnabled(engineType_ == kEngineOffice);
        cmdOpc->setEnabled(engineType_ == kEngineOffice);
        lblFuser->setEnabled(engineType_ == kEngineCompact);
        cmdFuser->setEnabled(engineType_ == kEngineCompact);
    }
    return result;
}

std::int32_t frmProperties::ReadPCLValues() {
    const std::int32_t result =
        ReadValues({Setting::BaudRate, Setting::RobustXon, Setting::Typeface, Setting::SymbolSet,
                    Setting::Lines, Setting::Pitch, Setting::Point, Setting::Courier},
                   kPclMenu);
    if (result == 0) {
        ApplyTypefaceRule();
    }
    return result;
}

bool frmProperties::ReadAllValues() {
    return ReadPostScriptValues() == 0 && ReadPrintingValues() == 0 && ReadConfigValues() == 0 &&
           ReadJobValues() == 0 && ReadPCLValues() == 0;
}

// The tray chosen decides which paper sizes, lock trays and paper types the printer offers: the
// four masks are read again, then the four values; a failed read leaves every list as it was.
void frmProperties::RefreshTrayChoices() {
    const std::vector<Setting> settings = {Setting::PaperSize, Setting::TraySwitch, Setting::LockTray,
                                           Setting::PaperType};
    if (!ReadCapabilities(settings, kPrintingMenu) || ReadValues(settings, kPrintingMenu) != 0) {
        return;
    }
    ApplyLockTrayRule();
    ApplyMarginRule();
}

}  // namespace console
