#include "console/properties/EngineTypeRule.h"

#include <algorithm>

namespace console {

namespace {

const char* const kCustomPaperModel = "7171";
const char* const kLastDateWithoutTypeWord = "19990621";

bool AllDigits(const QString& text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

}  // namespace

int EngineTypeByModel(const QString& model, const QString& version) {
    if (model == kCustomPaperModel) {
        return kEngineCustomPaper;
    }
    const qsizetype blank = version.indexOf(' ');
    // MM/DD/YYYY behind the blank becomes YYYYMMDD.
    const QString date = version.mid(blank + 7, 4) + version.mid(blank + 1, 2) + version.mid(blank + 4, 2);
    if (blank < 0 || date.size() != 8 || !AllDigits(date) || date <= kLastDateWithoutTypeWord) {
        return kEngineCompact;
    }
    return 0;
}

int EngineTypeByWord(std::int32_t word) {
    switch ((word >> 8) & 0xFF) {
        case 255:
            return kEngineExternal;
        case 2:
            return kEngineCompact;
        case 1:
        case 3:
            return kEngineOffice;
        case 4:
            return kEngineCustomPaper;
        default:
            return 0;
    }
}

}  // namespace console
