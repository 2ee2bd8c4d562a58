#include "console/properties/PropertySettings.h"

#include <iterator>

namespace console {

namespace {

constexpr int kEngineWithCustomPaper = 4;
const QString kPrivateArc = "1.3.6.1.4.1.32473.11.5.1.1.";

enum Engines { kAll, kTypes1To3, kType4 };

// A setting's objects under E.1 and its slots on engine types 1 to 3 and on type 4; a setting
// without objects on a type keeps a slot there that no write covers.
struct SettingRow {
    Setting setting;
    const char* valueItem;
    const char* capabilityItem;
    int slot;
    int slotOnType4;
    Engines engines;
};

// clang-format off
const SettingRow kRows[] = {
    {Setting::PaperSize, "2.1.0", "2.2.0", 1, 1, kAll},
    {Setting::MpSize, "2.3.0", "2.4.0", 2, 62, kTypes1To3},
    {Setting::Copies, "2.5.0", "", 3, 2, kAll},
    {Setting::Orientation, "2.6.0", "2.7.0", 4, 3, kAll},
    {Setting::Tray, "2.8.0", "2.9.0", 5, 4, kAll},
    {Setting::TopMargin, "2.10.0", "", 6, 5, kAll},
    {Setting::LeftMargin, "2.11.0", "", 7, 6, kAll},
    {Setting::Duplex, "2.12.0", "2.13.0", 8, 63, kTypes1To3},
    {Setting::AutoCr, "2.14.0", "2.15.0", 9, 7, kAll},
    {Setting::Resolution, "2.16.0", "2.17.0", 10, 8, kAll},
    {Setting::CustomWidth, "2.20.0", "", 62, 9, kType4},
    {Setting::CustomHeight, "2.21.0", "", 63, 10, kType4},
    {Setting::Emulation, "3.1.0", "3.2.0", 11, 11, kAll},
    {Setting::TraySwitch, "3.3.0", "3.4.0", 12, 12, kAll},
    {Setting::LockTray, "3.5.0", "3.6.0", 13, 13, kAll},
    {Setting::PowerSave, "3.7.0", "3.8.0", 14, 14, kAll},
    {Setting::AutoContinue, "3.9.0", "3.10.0", 15, 15, kAll},
    {Setting::TonerSave, "3.11.0", "3.12.0", 16, 16, kAll},
    {Setting::JamRecovery, "3.13.0", "3.14.0", 17, 17, kAll},
    {Setting::TonerLow, "3.15.0", "3.16.0", 18, 18, kAll},
    {Setting::Altitude, "3.17.0", "3.18.0", 19, 19, kAll},
    {Setting::PsError, "14.1.0", "14.2.0", 0, 20, kType4},
    {Setting::Srt, "4.1.0", "4.2.0", 21, 21, kAll},
    {Setting::IoTimeout, "4.3.0", "", 22, 22, kAll},
    {Setting::Density, "4.5.0", "4.6.0", 23, 23, kAll},
    {Setting::PaperType, "4.7.0", "4.8.0", 24, 24, kAll},
    {Setting::Smet, "4.11.0", "4.12.0", 25, 25, kAll},
    {Setting::DuplexTop, "4.13.0", "", 26, 26, kAll},
    {Setting::DuplexLeft, "4.14.0", "", 27, 27, kAll},
    {Setting::ShortEdge, "4.15.0", "", 28, 28, kAll},
    {Setting::LongEdge, "4.16.0", "", 29, 29, kAll},
    {Setting::MenuClear, "4.9.0", "", 30, 30, kAll},
    {Setting::BaudRate, "5.1.0", "5.2.0", 31, 31, kAll},
    {Setting::RobustXon, "5.3.0", "5.4.0", 32, 32, kAll},
    {Setting::Typeface, "6.3.0", "", 33, 33, kAll},
    {Setting::SymbolSet, "6.4.0", "", 34, 34, kAll},
    {Setting::Lines, "6.6.0", "", 35, 35, kAll},
    {Setting::Pitch, "6.7.0", "", 36, 36, kAll},
    {Setting::Point, "6.8.0", "", 37, 37, kAll},
    {Setting::Courier, "6.9.0", "6.10.0", 38, 38, kAll},
    {Setting::Fuser, "4.17.0", "", 40, 40, kAll},
    {Setting::Opc, "4.19.0", "", 50, 50, kAll},
    {Setting::WideA4, "2.18.0", "2.19.0", 61, 61, kTypes1To3},
};
// clang-format on

const SettingRow& RowOf(Setting setting) {
    return kRows[static_cast<int>(setting)];
}

bool HasObjects(const SettingRow& row, int engineType) {
    const bool type4 = engineType == kEngineWithCustomPaper;
    return row.engines == kAll || (row.engines == kType4) == type4;
}

QString Full(const char* item) {
    return *item == '\0' ? QString() : kPrivateArc + item;
}

}  // namespace

void PropertySlots::BuildSettingsTable(int engineType) {
    engineType_ = engineType;
    for (const SettingRow& row : kRows) {
        const int slot = SlotOf(row.setting);
        if (slot == 0) {
            continue;
        }
        const bool present = HasObjects(row, engineType);
        slots_[slot].valueOid = present ? Full(row.valueItem) : QString();
        slots_[slot].capabilityOid = present ? Full(row.capabilityItem) : QString();
    }
}

int PropertySlots::SlotOf(Setting setting) const {
    const SettingRow& row = RowOf(setting);
    return engineType_ == kEngineWithCustomPaper ? row.slotOnType4 : row.slot;
}

QString PropertySlots::ValueOid(Setting setting) const {
    return At(setting).valueOid;
}

QString PropertySlots::CapabilityOid(Setting setting) const {
    return At(setting).capabilityOid;
}

const PropertySetting& PropertySlots::At(Setting setting) const {
    return slots_[SlotOf(setting)];
}

void PropertySlots::Store(Setting setting, const QString& valueText) {
    const int slot = SlotOf(setting);
    if (slot != 0) {
        slots_[slot].valueText = valueText;
        slots_[slot].changed = true;
    }
}

void PropertySlots::Keep(Setting setting, const QString& valueText) {
    const int slot = SlotOf(setting);
    if (slot != 0) {
        slots_[slot].valueText = valueText;
    }
}

void PropertySlots::Restore(Setting setting, const PropertySetting& earlier) {
    const int slot = SlotOf(setting);
    if (slot != 0) {
        slots_[slot].valueText = earlier.valueText;
        slots_[slot].changed = earlier.changed;
    }
}

void PropertySlots::ClearChanged(Setting setting) {
    slots_[SlotOf(setting)].changed = false;
}

void PropertySlots::ClearChanged(int first, int last) {
    for (int slot = first; slot <= last; ++slot) {
        slots_[slot].changed = false;
    }
}

ChangedSettings PropertySlots::Changed(int first, int last) const {
    ChangedSettings changed;
    for (int slot = first; slot <= last; ++slot) {
        const PropertySetting& setting = slots_[slot];
        if (setting.changed && !setting.valueOid.isEmpty()) {
            changed.oids << setting.valueOid;
            changed.values << setting.valueText;
        }
    }
    return changed;
}

}  // namespace console
