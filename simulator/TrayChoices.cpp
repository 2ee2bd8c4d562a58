#include "simulator/TrayChoices.h"

#include <algorithm>
#include <iterator>

#include "simulator/CardMib.h"
#include "simulator/CardOids.h"

namespace sim {

namespace {

// Tray choice bits: Auto, First, MP, Option, Option1, Manual.
constexpr int64_t AutoTray = 1;
constexpr int64_t FirstTray = 2;
constexpr int64_t OptionTrays = 8 | 16;

// Letter to ISO-B5 and Folio; Letter to C5 and Folio.
constexpr int64_t FirstTraySizes = 0x103F;
constexpr int64_t OptionTraySizes = 0x13FF;
constexpr int64_t NoLock = 1;
constexpr int64_t PlainOrThick = 3;

struct TrayDependent {
    Oid value;
    Oid mask;
};

const TrayDependent PaperSize{Private({1, 2, 1, 0}), Private({1, 2, 2, 0})};
const TrayDependent LockTray{Private({1, 3, 5, 0}), Private({1, 3, 6, 0})};
const TrayDependent PaperType{Private({1, 4, 7, 0}), Private({1, 4, 8, 0})};
const Oid Tray = Private({1, 2, 8, 0});
const TrayDependent* const kDependents[] = {&PaperSize, &LockTray, &PaperType};

bool IsCassette(int64_t tray) {
    return (tray & (FirstTray | OptionTrays)) != 0;
}

int64_t PaperSizesOf(int64_t tray) {
    if (tray == FirstTray) {
        return FirstTraySizes;
    }
    return (tray & OptionTrays) != 0 ? OptionTraySizes : ~int64_t{0};
}

void Limit(Mib& mib, const TrayDependent& setting, int64_t offered, int64_t allowed) {
    if (!mib.Contains(setting.mask)) {
        return;
    }
    const int64_t mask = offered & allowed;
    mib.Put(setting.mask, MibValue::Integer(static_cast<int32_t>(mask)));
    std::optional<MibValue> value = mib.Get(setting.value);
    if (mask != 0 && value && (value->number & mask) == 0) {
        mib.Put(setting.value, MibValue::Integer(static_cast<int32_t>(mask & -mask)));
    }
}

}  // namespace

bool TouchesTray(const std::vector<Binding>& bindings) {
    return std::any_of(bindings.begin(), bindings.end(), [](const Binding& binding) {
        return binding.oid == Tray ||
               std::any_of(std::begin(kDependents), std::end(kDependents), [&](const TrayDependent* setting) {
                   return binding.oid == setting->value || binding.oid == setting->mask;
               });
    });
}

void FollowTray(Mib& mib, EngineType engine) {
    std::optional<MibValue> tray = mib.Get(Tray);
    if (!tray) {
        return;
    }
    const int64_t chosen = tray->number;
    auto offered = [engine](const TrayDependent& setting) { return OfferedChoices(engine, setting.mask); };
    Limit(mib, PaperSize, offered(PaperSize), PaperSizesOf(chosen));
    Limit(mib, LockTray, offered(LockTray), chosen == AutoTray ? NoLock : ~int64_t{0});
    Limit(mib, PaperType, offered(PaperType), IsCassette(chosen) ? PlainOrThick : ~int64_t{0});
}

}  // namespace sim
