#pragma once

#include <cstdint>
#include <string_view>

#include "netware/TessikResults.h"

// Writes a NameList into the caller's buffer: records "%04d,NAME," (browse records add a kind,
// "1,O," or "1,C,"), from the start of the buffer, with the NUL always after the characters written
// and never past the capacity the caller gave (its length on entry, not counting the NUL).
class NameListWriter {
  public:
    // Empties the buffer and sets the count to 0.
    NameListWriter(char* buffer, std::uint32_t* length, std::int32_t* count);

    // False when the caller gave no buffer or length.
    bool Usable() const { return buffer_ != nullptr && length_ != nullptr; }
    // kNwDoesNotFit when the record would pass the capacity: the records before it stay, the last
    // one still ending with its comma.
    NwResult Append(std::string_view name, std::string_view kind = {});
    // Drops the final comma and sets the length; an empty list is an empty text of length 0.
    void Finish();

  private:
    char* buffer_;
    std::uint32_t* length_;
    std::int32_t* count_;
    std::uint32_t capacity_ = 0;
    std::uint32_t written_ = 0;
};

// Copies a whole text with its NUL when it fits `*length` characters, and sets the length.
NwResult CopyText(std::string_view text, char* buffer, std::uint32_t* length);
