#include "snmp/request/ValueTextReader.h"

#include <arpa/inet.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>

#include "platform/services/GlobalMemory.h"
#include "snmp/codec/SnmpValueType.h"

namespace snmp {

namespace {

constexpr std::int32_t kFirstFixedCode = 10;
// Byte counts of the fixed-length octet string codes 10 to 15.
constexpr std::size_t kFixedLengths[] = {6, 3, 2, 6, 4, 10};
constexpr std::size_t kMaxAddressText = 63;

// Optional sign, then digits; reading stops at the first other character and no digits give 0.
// Kept to 32 bits, so that signed and unsigned texts give the same bits.
std::uint32_t ParseDecimal(const char* begin, const char* end) {
    bool negative = false;
    if (begin != end && (*begin == '-' || *begin == '+')) {
        negative = *begin++ == '-';
    }
    std::uint32_t value = 0;
    for (; begin != end && *begin >= '0' && *begin <= '9'; ++begin) {
        value = value * 10 + static_cast<std::uint32_t>(*begin - '0');
    }
    return negative ? 0u - value : value;
}

void* NumberBlock(std::uint32_t number) {
    void* block = plat::AllocBlock(sizeof number);
    if (block != nullptr) {
        std::memcpy(block, &number, sizeof number);
    }
    return block;
}

// A dotted quad as inet_addr reads it, in network order.
std::uint32_t ParseAddress(const char* begin, const char* end) {
    char text[kMaxAddressText + 1] = {};
    std::copy(begin, begin + std::min<std::size_t>(end - begin, kMaxAddressText), text);
    return inet_addr(text);
}

}  // namespace

void ValueTextReader::TakeField(const char*& begin, const char*& end, bool& ended) {
    begin = next_;
    end = std::find_if(next_, end_, [](char c) { return c == ',' || c == '\0'; });
    ended = end == end_ || *end == '\0';
    next_ = ended ? end : end + 1;
}

bool ValueTextReader::ReadBytes(std::size_t count, ValueItem& item) {
    if (count > static_cast<std::size_t>(end_ - next_)) {
        return false;
    }
    item.value = plat::AllocBlock(count + 1);
    if (item.value == nullptr) {
        return false;
    }
    std::memcpy(item.value, next_, count);
    item.length = static_cast<std::int32_t>(count);
    next_ += count;
    SkipSeparator();
    return true;
}

void ValueTextReader::SkipSeparator() {
    if (!Finished()) {
        ++next_;
    }
}

bool ValueTextReader::ReadItem(ValueItem& item) {
    const char* const start = next_;
    const char* begin = nullptr;
    const char* end = nullptr;
    bool ended = false;
    item = ValueItem{};
    TakeField(begin, end, ended);
    if (ended) {
        next_ = start;
        return false;
    }
    item.type = static_cast<std::int32_t>(ParseDecimal(begin, end));
    bool read = true;
    switch (item.type) {
        case kSnmpInteger:
        case kSnmpCounter:
        case kSnmpGauge:
        case kSnmpTimeTicks:
            TakeField(begin, end, ended);
            item.value = NumberBlock(ParseDecimal(begin, end));
            item.length = 4;
            read = item.value != nullptr;
            break;
        case kSnmpIpAddress:
            TakeField(begin, end, ended);
            item.value = NumberBlock(ParseAddress(begin, end));
            item.length = 4;
            read = item.value != nullptr;
            break;
        case kSnmpObjectId:
            TakeField(begin, end, ended);
            item.value = plat::AllocBlock(end - begin + 1);
            item.length = static_cast<std::int32_t>(end - begin);
            read = item.value != nullptr;
            if (read) {
                std::memcpy(item.value, begin, end - begin);
            }
            break;
        case kSnmpOctetString: {
            TakeField(begin, end, ended);
            std::size_t count = 0;
            auto [last, error] = std::from_chars(begin, end, count);
            read = !ended && error == std::errc() && last == end && ReadBytes(count, item);
            break;
        }
        default:
            if (item.type >= kFirstFixedCode && item.type < kFirstFixedCode + std::ssize(kFixedLengths)) {
                read = ReadBytes(kFixedLengths[item.type - kFirstFixedCode], item);
                item.type = kSnmpOctetString;
            }
            break;
    }
    if (!read) {
        plat::FreeBlock(item.value);
        item = ValueItem{};
        next_ = start;
    }
    return read;
}

}  // namespace snmp
