#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "confighelper/HelperResult.h"

// The zone list as it is collected: "%d," of each zone's length, its name and a comma, written while
// it fits the caller's buffer and counted always.
class ZoneText {
  public:
    explicit ZoneText(std::size_t room) : room_(room) {}

    void Add(const std::uint8_t* name, std::size_t length);
    void Clear() { *this = ZoneText(room_); }

    bool Overflow() const { return overflow_; }
    // The size the whole list needs, its last comma included.
    std::size_t Needed() const { return needed_; }
    // The text without its last comma.
    std::string Final() const { return text_.empty() ? text_ : text_.substr(0, text_.size() - 1); }

  private:
    std::size_t room_;
    std::string text_;
    std::size_t needed_ = 0;
    bool overflow_ = false;
};

// Reads the segment of the zone table that starts at zone `index` (from 1): its value bytes, or a
// failure result.
using ZoneSegmentReader = std::function<HelperResult(int index, std::string& segment)>;

// Walks the zone table into `zones`. A segment holds 4 bytes of the table's state mark, a byte, the
// last-segment flag, then the zones, each a length byte and that many bytes of name. A mark that
// changes during the walk starts it over (a bounded number of times). 0, the reader's failure, or
// kHelperDecodeFailed for a segment that breaks the form or a table of more than 255 zones.
HelperResult WalkZones(const ZoneSegmentReader& read, ZoneText& zones);
