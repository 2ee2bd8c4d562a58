#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The printer properties dialog's table of settings: 64 slots, each the objects of one front-panel
// setting, the value text the controls give it and whether the user changed it since the read.
// The same setting sits in another slot on engine type 4.
namespace console {

enum class Setting {
    PaperSize,
    MpSize,
    Copies,
    Orientation,
    Tray,
    TopMargin,
    LeftMargin,
    Duplex,
    AutoCr,
    Resolution,
    CustomWidth,
    CustomHeight,
    Emulation,
    TraySwitch,
    LockTray,
    PowerSave,
    AutoContinue,
    TonerSave,
    JamRecovery,
    TonerLow,
    Altitude,
    PsError,
    Srt,
    IoTimeout,
    Density,
    PaperType,
    Smet,
    DuplexTop,
    DuplexLeft,
    ShortEdge,
    LongEdge,
    MenuClear,
    BaudRate,
    RobustXon,
    Typeface,
    SymbolSet,
    Lines,
    Pitch,
    Point,
    Courier,
    Fuser,
    Opc,
    WideA4,
};

struct PropertySetting {
    QString valueOid;
    QString capabilityOid;  // the mask of the choices the printer offers; empty for numbers
    QString valueText;
    bool changed = false;
};

// The settings of a group of slots that the user changed, in slot order.
struct ChangedSettings {
    QStringList oids;
    QStringList values;
};

class PropertySlots {
  public:
    static constexpr int kSlotCount = 64;

    // Puts every setting's objects into its slot for the engine type; values and flags stay.
    void BuildSettingsTable(int engineType);

    // The setting's slot; 0 when it has none on this engine type.
    int SlotOf(Setting setting) const;
    // Empty when the setting has no object on this engine type.
    QString ValueOid(Setting setting) const;
    QString CapabilityOid(Setting setting) const;
    const PropertySetting& At(Setting setting) const;

    // A value the user chose; a setting without a slot takes nothing.
    void Store(Setting setting, const QString& valueText);
    // The value a reader found, which is no change.
    void Keep(Setting setting, const QString& valueText);
    // The value and changed flag the setting had before.
    void Restore(Setting setting, const PropertySetting& earlier);
    void ClearChanged(Setting setting);
    void ClearChanged(int first, int last);

    ChangedSettings Changed(int first, int last) const;

  private:
    int engineType_ = 2;
    std::array<PropertySetting, kSlotCount> slots_{};
};

}  // namespace console
