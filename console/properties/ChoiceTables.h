#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

#include "console/properties/PropertySettings.h"

class QComboBox;

// The choices of the printer properties dialog's lists: each a text of the string table and the
// code the printer knows it by (one bit of the setting's choice mask, for most lists).
namespace console {

struct ChoiceEntry {
    QString text;
    std::int32_t code;
};
using ChoiceTable = std::vector<ChoiceEntry>;

// The table of a list setting for the engine type; empty for a setting without a list.
ChoiceTable MakeChoiceTable(Setting setting, int engineType);
// The typeface list: a typeface's code is its position.
std::vector<QString> TypefaceTexts();

// The entries whose code has a bit in common with the mask, in table order; an entry whose code
// is 0 comes with any mask but 0.
ChoiceTable Offered(const ChoiceTable& table, std::int64_t mask);
// Clears the list and adds the texts of the entries.
void FillList(QComboBox* list, const ChoiceTable& entries);
// Selects the item of the first entry whose code equals the value or, unless `exact`, has a bit in
// common with it; the selection stays when there is none.
void SelectValue(QComboBox* list, const ChoiceTable& table, std::int64_t value, bool exact = false);
// The code of the entry with exactly this text.
std::optional<std::int32_t> CodeOf(const ChoiceTable& table, const QString& text);

// The largest top and left margin of a standard paper size in portrait orientation; none for
// "Custom".
struct MarginLimits {
    double top;
    double left;
};
std::optional<MarginLimits> PaperMargins(const QString& paperText);

}  // namespace console
