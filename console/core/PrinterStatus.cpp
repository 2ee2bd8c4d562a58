#include "console/core/PrinterStatus.h"

#include <algorithm>

#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kFirstStatusText = 10000;
constexpr int kUnknownCodeText = 9999;
constexpr int kOutsideTableText = 351;
constexpr int kNotDetectedText = 350;

}  // namespace

std::optional<std::size_t> StatusSlot(std::int32_t code) {
    const auto found = std::find(kPrinterStatusCodes.begin(), kPrinterStatusCodes.end(), code);
    if (found == kPrinterStatusCodes.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - kPrinterStatusCodes.begin());
}

QString StatusCodeText(std::int32_t code) {
    if (code == kStatusUnknown) {
        return LoadString(kUnknownCodeText);
    }
    return StatusSlot(code) ? LoadString(kFirstStatusText + code) : LoadString(kOutsideTableText);
}

QString RowStatusText(std::int32_t code, std::uint32_t detected) {
    return detected == 1 ? StatusCodeText(code) : LoadString(kNotDetectedText);
}

int StatusIcon(std::uint32_t category, std::int32_t code) {
    const int offset = category == 2 ? 0 : category == 1 ? 6 : 3;
    const int state = (code == 0 || code == 4) ? 1 : code == 3 ? 2 : 3;
    return offset + state;
}

}  // namespace console
