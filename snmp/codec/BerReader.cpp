#include "snmp/codec/BerReader.h"

namespace snmp {

namespace {
constexpr std::size_t kMaxLengthBytes = 4;
}

bool BerReader::ReadLongLength(std::size_t& length) {
    const std::uint8_t* start = next_;
    std::uint8_t first = 0;
    if (!ReadByte(first)) {
        return false;
    }
    std::size_t value = first;
    if (first >= 0x80) {
        std::size_t count = first & 0x7F;
        if (count == 0 || count > kMaxLengthBytes || Remaining() < count) {
            next_ = start;
            return false;
        }
        value = 0;
        for (; count != 0; --count) {
            value = (value << 8) | *next_++;
        }
    }
    if (value > Remaining()) {
        next_ = start;
        return false;
    }
    length = value;
    return true;
}

}  // namespace snmp
