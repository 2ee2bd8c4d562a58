#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace snmp {

// Dotted text ("1.3.6.1.2.1.1.5.0") to OBJECT IDENTIFIER content. Arcs are decimal numbers of at most
// 32 bits; the first is 0 to 2 and the second below 40; a text of one arc stands for that arc and 0.
// Fails on any other character, an empty arc, or content over `capacity` bytes.
bool OidTextToContent(std::string_view text, std::uint8_t* content, std::size_t capacity,
                      std::size_t& length);

// The same content written so that it ends at `end`, for a writer that fills its buffer back to
// front: where it begins, or null when the text is bad or the content reaches below `limit`.
std::uint8_t* OidTextToContentBefore(std::string_view text, std::uint8_t* limit, std::uint8_t* end);

// OBJECT IDENTIFIER content to terminated dotted text. Fails on empty content, a subidentifier that
// is unfinished or over 32 bits, or text that does not fit `size` bytes with its terminator.
bool OidContentToText(const std::uint8_t* content, std::size_t length, char* text, std::size_t size,
                      std::size_t& textLength);

}  // namespace snmp
