#include "console/properties/ChoiceTables.h"

#include <QComboBox>

#include <algorithm>

#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kEngineWithCustomPaper = 4;
constexpr int kStandardPapers = 16;
constexpr int kCustomPaper = 4116;
constexpr int kTypefaces = 54;
constexpr int kFirstTypeface = 4400;
constexpr int kFirstSymbolSet = 4500;
constexpr int kSymbolSetsOnType4 = 40;
// Symbol sets that engine types 1 to 3 lack.
const int kSymbolSetsOnlyOnType4[] = {4506, 4519, 4520, 4521, 4531, 4532};

// Entries from consecutive string ids with the codes 1, 2, 4 ...
ChoiceTable Bits(int firstId, int count) {
    ChoiceTable table;
    for (int i = 0; i < count; ++i) {
        table.push_back({LoadString(firstId + i), std::int32_t{1} << i});
    }
    return table;
}

ChoiceTable PaperSizes(int engineType) {
    ChoiceTable table = Bits(4100, kStandardPapers);
    if (engineType == kEngineWithCustomPaper) {
        table.push_back({LoadString(kCustomPaper), std::int32_t{1} << kStandardPapers});
    }
    return table;
}

// Codes are positions in the table, counted from 0.
ChoiceTable SymbolSets(int engineType) {
    ChoiceTable table;
    for (int id = kFirstSymbolSet; id < kFirstSymbolSet + kSymbolSetsOnType4; ++id) {
        const bool type4Only = std::find(std::begin(kSymbolSetsOnlyOnType4), std::end(kSymbolSetsOnlyOnType4),
                                         id) != std::end(kSymbolSetsOnlyOnType4);
        if (engineType == kEngineWithCustomPaper || !type4Only) {
            table.push_back({LoadString(id), static_cast<std::int32_t>(table.size())});
        }
    }
    return table;
}

struct PaperMarginRow {
    int id;
    MarginLimits limits;
};

const PaperMarginRow kPaperMargins[] = {
    {4100, {9.9, 6.8}}, {4101, {9.9, 6.8}}, {4102, {9.9, 6.5}}, {4103, {9.9, 5.8}},
    {4104, {4.0, 4.0}}, {4105, {4.0, 4.0}}, {4106, {7.6, 3.2}}, {4107, {6.0, 3.1}},
    {4108, {6.8, 3.4}}, {4109, {7.2, 5.1}}, {4110, {4.0, 4.0}}, {4111, {4.0, 4.0}},
    {4112, {9.9, 6.8}}, {4113, {4.0, 4.0}}, {4114, {4.0, 4.0}}, {4115, {4.0, 4.0}},
};

}  // namespace

ChoiceTable MakeChoiceTable(Setting setting, int engineType) {
    switch (setting) {
        case Setting::PaperSize:
        case Setting::MpSize:
            return PaperSizes(engineType);
        case Setting::Tray:
            return Bits(4120, 6);
        case Setting::Duplex:
            return Bits(4140, 3);
        case Setting::Resolution:
            return Bits(4160, 3);
        case Setting::AutoCr:
            return Bits(4194, 2);
        case Setting::WideA4:
        case Setting::TraySwitch:
        case Setting::AutoContinue:
        case Setting::TonerSave:
        case Setting::JamRecovery:
        case Setting::Smet:
        case Setting::PsError:
            return Bits(4196, 2);
        case Setting::Emulation:
            return Bits(4200, 14);
        case Setting::LockTray:
            return Bits(4220, 11);
        case Setting::PowerSave:
            return Bits(4240, 7);
        case Setting::TonerLow:
            return Bits(4260, 2);
        case Setting::Altitude:
            return Bits(4280, 2);
        case Setting::Srt:
            return Bits(4300, 6);
        case Setting::Density:
            return Bits(4320, 3);
        case Setting::PaperType:
            return engineType == kEngineWithCustomPaper ? Bits(4350, 9) : Bits(4340, 6);
        case Setting::BaudRate:
            return Bits(4360, 10);
        case Setting::Courier:
            return {{LoadString(4550), 1}, {LoadString(4551), 0}};
        case Setting::SymbolSet:
            return SymbolSets(engineType);
        default:
            return {};
    }
}

std::vector<QString> TypefaceTexts() {
    std::vector<QString> texts;
    for (int i = 0; i < kTypefaces; ++i) {
        texts.push_back(LoadString(kFirstTypeface + i));
    }
    return texts;
}

ChoiceTable Offered(const ChoiceTable& table, std::int64_t mask) {
    ChoiceTable offered;
    for (const ChoiceEntry& entry : table) {
        // A choice without a bit (Courier's "Dark") comes with any other.
        if ((entry.code & mask) != 0 || (entry.code == 0 && mask != 0)) {
            offered.push_back(entry);
        }
    }
    return offered;
}

void FillList(QComboBox* list, const ChoiceTable& entries) {
    list->clear();
    for (const ChoiceEntry& entry : entries) {
        list->addItem(entry.text);
    }
}

void SelectValue(QComboBox* list, const ChoiceTable& table, std::int64_t value, bool exact) {
    for (const ChoiceEntry& entry : table) {
        if (entry.code == value || (!exact && (entry.code & value) != 0)) {
            const int item = list->findText(entry.text, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (item >= 0) {
                list->setCurrentIndex(item);
            }
            return;
        }
    }
}

std::optional<std::int32_t> CodeOf(const ChoiceTable& table, const QString& text) {
    for (const ChoiceEntry& entry : table) {
        if (entry.text == text) {
            return entry.code;
        }
    }
    return std::nullopt;
}

std::optional<MarginLimits> PaperMargins(const QString& paperText) {
    for (const PaperMarginRow& row : kPaperMargins) {
        if (LoadString(row.id) == paperText) {
            return row.limits;
        }
    }
    return std::nullopt;
}

}  // namespace console
