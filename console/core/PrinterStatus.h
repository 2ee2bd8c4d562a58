#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The printer status codes the console knows, in their slot order (the order of the alert flags),
// with their texts at string 10000 + code.
namespace console {

inline constexpr std::array<std::int32_t, 40> kPrinterStatusCodes = {
    0,   1,    2,    3,    4,    65,   66,   67,   68,   69,   70,   71,  72,  129,
    130, 131,  132,  133,  134,  257,  258,  259,  260,  261,  513,  514, 515, 516,
    517, 1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034, 2049};

inline constexpr std::int32_t kStatusUnknown = -1;

// The code's slot, counted from 0; none for a code outside the table.
std::optional<std::size_t> StatusSlot(std::int32_t code);
// The text of a code in the table, "Unknown" (9999) for -1 and "Unknown" (351) for any other code.
QString StatusCodeText(std::int32_t code);
// What the list shows: the status text of a detected print server, else "Not Detected".
QString RowStatusText(std::int32_t code, std::uint32_t detected);
// The row's icon, 1 to 9: its category chooses the set, the status the state within it.
int StatusIcon(std::uint32_t category, std::int32_t code);

}  // namespace console
