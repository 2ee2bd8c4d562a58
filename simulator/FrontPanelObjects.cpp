#include "simulator/CardMib.h"
#include "simulator/CardOids.h"
#include "simulator/EngineProfile.h"
#include "simulator/TrayChoices.h"

namespace sim {

namespace {

enum class Kind : uint8_t {
    Choice,   // one bit of the choice mask
    AnyOf,    // any combination of the mask's bits, zero included
    Number,   // a number from low to high
    Command,  // a maintenance command: written low to high, reads 0
};

constexpr int32_t Absent = -1;

// One front-panel object of the E.1 subtree. For choices the last three columns are the masks
// that an Office, a Compact and a Model7171 engine offer; for numbers and commands any value
// but Absent means that the engine has the object. `capability` is the value of a number's
// read-only companion object (maskItem).
struct PanelSetting {
    uint32_t menu;
    uint32_t item;
    uint32_t maskItem;
    Kind kind;
    int32_t initial;
    int32_t low;
    int32_t high;
    int32_t capability;
    int32_t office;
    int32_t compact;
    int32_t model7171;
    bool needsReady = false;
};

// clang-format off
const PanelSetting Settings[] = {
    // Printing menu: paper size, multi-purpose tray size, copies, orientation, tray, margins,
    // duplex, line ending, resolution, wide A4, custom paper size.
    {2, 1, 2, Kind::Choice, 1, 0, 0, 0, 0xFFFF, 0x3FFF, 0x1FFFF},
    {2, 3, 4, Kind::Choice, 1, 0, 0, 0, 0xFFFF, 0x00FF, 0},
    {2, 5, 0, Kind::Number, 1, 1, 999, 0, 1, 1, 1},
    {2, 6, 7, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    {2, 8, 9, Kind::Choice, 1, 0, 0, 0, 0x3F, 0x27, 0x2F},
    {2, 10, 0, Kind::Number, 0, 0, 500, 0, 1, 1, 1},
    {2, 11, 0, Kind::Number, 0, 0, 500, 0, 1, 1, 1},
    {2, 12, 13, Kind::Choice, 1, 0, 0, 0, 7, 0, 0},
    {2, 14, 15, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    {2, 16, 17, Kind::Choice, 2, 0, 0, 0, 7, 3, 7},
    {2, 18, 19, Kind::Choice, 1, 0, 0, 0, 3, 3, Absent},
    {2, 20, 0, Kind::Number, 210, 76, 215, 0, Absent, Absent, 1},
    {2, 21, 0, Kind::Number, 297, 127, 355, 0, Absent, Absent, 1},
    // Configuration menu: emulation, tray switch, lock tray, power save, auto continue, toner
    // save, jam recovery, toner low, altitude.
    {3, 1, 2, Kind::Choice, 1, 0, 0, 0, 0xA03, 0x803, 0xE03},
    {3, 3, 4, Kind::Choice, 1, 0, 0, 0, 3, 0, 3},
    {3, 5, 6, Kind::Choice, 1, 0, 0, 0, 0x7FF, 0, 0x0F},
    {3, 7, 8, Kind::Choice, 8, 0, 0, 0, 0x7F, 0x1F, 0x7F},
    {3, 9, 10, Kind::Choice, 2, 0, 0, 0, 3, 3, 3},
    {3, 11, 12, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    {3, 13, 14, Kind::Choice, 2, 0, 0, 0, 3, 3, 3},
    {3, 15, 16, Kind::Choice, 1, 0, 0, 0, 3, 0, 3},
    {3, 17, 18, Kind::Choice, 1, 0, 0, 0, 3, 0, 0},
    // Job menu: SRT, I/O time-out, density, paper type, menu clear, SMET, duplex margins and
    // bindings, fuser and OPC drum cleaning.
    {4, 1, 2, Kind::Choice, 2, 0, 0, 0, 0x3F, 0x0F, 0x03},
    {4, 3, 4, Kind::Number, 15, 0, 300, 300, 1, 1, 1},
    {4, 5, 6, Kind::Choice, 2, 0, 0, 0, 7, 7, 7},
    {4, 7, 8, Kind::Choice, 1, 0, 0, 0, 0x3F, 0x0F, 0x1FF},
    {4, 9, 0, Kind::Command, 0, 1, 2, 0, 1, 1, 1},
    {4, 11, 12, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    {4, 13, 0, Kind::Number, 0, 0, 99, 0, 1, 1, 1},
    {4, 14, 0, Kind::Number, 0, 0, 99, 0, 1, 1, 1},
    {4, 15, 0, Kind::Number, 0, 0, 220, 0, 1, 1, 1},
    {4, 16, 0, Kind::Number, 0, 0, 220, 0, 1, 1, 1},
    {4, 17, 0, Kind::Command, 0, 1, 2, 0, Absent, 1, Absent, true},
    {4, 19, 0, Kind::Command, 0, 1, 2, 0, 1, Absent, Absent, true},
    // I/O menu: baud rate, robust XON.
    {5, 1, 2, Kind::Choice, 32, 0, 0, 0, 0x3FF, 0x3F, 0x3FF},
    {5, 3, 4, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    // PCL menu: font source, typeface, symbol set (with the number of sets), lines, pitch,
    // point size, Courier.
    {6, 1, 2, Kind::Choice, 1, 0, 0, 0, 1, 1, 1},
    {6, 3, 0, Kind::Number, 0, 0, 53, 0, 1, 1, 1},
    {6, 4, 5, Kind::Number, 0, 0, 33, 34, 1, 1, Absent},
    {6, 4, 5, Kind::Number, 0, 0, 39, 40, Absent, Absent, 1},
    {6, 6, 0, Kind::Number, 60, 5, 128, 0, 1, 1, 1},
    {6, 7, 0, Kind::Number, 1000, 44, 9999, 0, 1, 1, 1},
    {6, 8, 0, Kind::Number, 48, 16, 399, 0, 1, 1, 1},
    {6, 9, 10, Kind::AnyOf, 1, 0, 0, 0, 1, 1, 1},
    // Two further menus of on/off switches.
    {7, 1, 2, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    {7, 4, 5, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    {7, 6, 7, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    {7, 8, 9, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    {7, 10, 11, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    {7, 12, 13, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    {8, 1, 2, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    {8, 4, 5, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    {8, 6, 7, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    {8, 8, 9, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    {8, 10, 11, Kind::Choice, 1, 0, 0, 0, 3, 3, 3},
    // The PCL (1) or PostScript (2) font list.
    {10, 2, 0, Kind::Command, 0, 1, 1, 0, 1, 1, Absent},
    {10, 2, 0, Kind::Command, 0, 1, 2, 0, Absent, Absent, 1},
    // PostScript menu: print PostScript errors.
    {14, 1, 2, Kind::Choice, 1, 0, 0, 0, Absent, Absent, 3},
};
// clang-format on

int32_t OfferedBy(const PanelSetting& setting, EngineType engine) {
    switch (engine) {
        case EngineType::Office:
            return setting.office;
        case EngineType::Compact:
            return setting.compact;
        case EngineType::Model7171:
            return setting.model7171;
        case EngineType::External:
            return Absent;
    }
    return Absent;
}

Oid PanelOid(uint32_t menu, uint32_t item) {
    return Private({1, menu, item, 0});
}

int32_t LowestBit(int32_t mask) {
    return mask & -mask;
}

int32_t InitialOf(const PanelSetting& setting, int32_t offered) {
    bool outsideMask = setting.kind == Kind::Choice && offered != 0 && (setting.initial & offered) == 0;
    return outsideMask ? LowestBit(offered) : setting.initial;
}

ErrorStatus OnlyWhenReady(const Mib& mib, const MibValue&) {
    std::optional<MibValue> status = mib.Get(PrinterStatus);
    return status && status->number == 0 ? ErrorStatus::NoError : ErrorStatus::BadValue;
}

ValueRule RuleOf(const PanelSetting& setting) {
    Oid mask = PanelOid(setting.menu, setting.maskItem);
    switch (setting.kind) {
        case Kind::Choice:
            return OneBitOf(mask);
        case Kind::AnyOf:
            return WithinMask(mask);
        case Kind::Number:
            return InRange(setting.low, setting.high);
        case Kind::Command:
            break;
    }
    ValueRule range = InRange(setting.low, setting.high);
    if (!setting.needsReady) {
        return range;
    }
    return [range](const Mib& mib, const MibValue& value) {
        ErrorStatus verdict = range(mib, value);
        return verdict != ErrorStatus::NoError ? verdict : OnlyWhenReady(mib, value);
    };
}

void AddModelDetails(Mib& mib, const CardDescription& card) {
    EngineProfile engine = ProfileOf(card.engine);
    MibValue model = MibValue::Text(card.model.empty() ? engine.model : card.model);
    MibValue version = MibValue::Text(card.version.empty() ? engine.version : card.version);
    MibValue typeWord = MibValue::Integer(engine.typeWord);
    mib.Add(Private({1, 1, 1, 1, 0}), model);
    mib.Add(Private({1, 1, 1, 2, 0}), version);
    mib.Add(Private({1, 1, 1, 3, 0}), typeWord);
    // The same version text and type word are also read one level up by the configuration side.
    mib.Add(Private({1, 1, 2, 0}), version);
    mib.Add(Private({1, 1, 3, 0}), typeWord);
}

}  // namespace

std::vector<Binding> FrontPanelDefaults(EngineType engine) {
    std::vector<Binding> defaults;
    for (const PanelSetting& setting : Settings) {
        int32_t offered = OfferedBy(setting, engine);
        if (offered != Absent) {
            defaults.push_back(
                {PanelOid(setting.menu, setting.item), MibValue::Integer(InitialOf(setting, offered))});
        }
    }
    return defaults;
}

int32_t OfferedChoices(EngineType engine, const Oid& mask) {
    for (const PanelSetting& setting : Settings) {
        if (setting.maskItem != 0 && PanelOid(setting.menu, setting.maskItem) == mask) {
            int32_t offered = OfferedBy(setting, engine);
            return offered == Absent ? 0 : offered;
        }
    }
    return 0;
}

bool IsPanelCommand(const Oid& oid) {
    if (oid == TestPage) {
        return true;
    }
    for (const PanelSetting& setting : Settings) {
        if (setting.kind == Kind::Command && PanelOid(setting.menu, setting.item) == oid) {
            return true;
        }
    }
    return false;
}

void AddFrontPanelObjects(Mib& mib, const CardDescription& card) {
    AddModelDetails(mib, card);
    mib.Add(PrinterStatus, MibValue::Integer(card.status));
    mib.Add(TestPage, MibValue::Integer(0), Access::ReadWrite, OneOf({1}));
    for (const PanelSetting& setting : Settings) {
        int32_t offered = OfferedBy(setting, card.engine);
        if (offered == Absent) {
            continue;
        }
        mib.Add(PanelOid(setting.menu, setting.item), MibValue::Integer(InitialOf(setting, offered)),
                Access::ReadWrite, RuleOf(setting));
        if (setting.maskItem != 0) {
            bool choice = setting.kind == Kind::Choice || setting.kind == Kind::AnyOf;
            mib.Add(PanelOid(setting.menu, setting.maskItem),
                    MibValue::Integer(choice ? offered : setting.capability));
        }
    }
    FollowTray(mib, card.engine);
}

}  // namespace sim
