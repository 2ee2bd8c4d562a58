#pragma once

#include <cstddef>
#include <cstdint>

// Hardware and IPX addresses as hexadecimal text: two digits per byte, high half first.

// 0-15 for a hexadecimal digit of either case; 0xFF for any other character.
std::uint8_t HexDigitValue(char character);

// The upper-case digit for 0-15 (only the low 8 bits of value count); 0xFF for 16-255.
char HexDigitChar(std::uint32_t value);

// True when text starts with at least `digits` hexadecimal digits. Address texts are checked with it
// before they are read.
bool IsHexText(const char* text, std::size_t digits);

// Writes exactly `count` bytes from the first 2 * count characters of text. An invalid digit counts
// as 0xFF and the byte wraps to 8 bits; the text is never read past its terminator (a missing
// character counts as an invalid one).
void HexTextToBytes(std::uint8_t* bytes, const char* text, std::size_t count);

// Writes 2 * count upper-case digits and a terminator.
void BytesToHexText(char* text, const std::uint8_t* bytes, std::size_t count);
