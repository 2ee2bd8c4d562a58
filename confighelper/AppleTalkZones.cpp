#include <cstring>
#include <string>

#include "confighelper/BindingValue.h"
#include "confighelper/ChannelExchange.h"
#include "confighelper/Halbrin.h"
#include "snmp/codec/SnmpValueType.h"

namespace {

constexpr const char* kZoneTableOid = "1.3.6.1.4.1.32473.11.5.1.12.6.1.4.2";
// A segment: 4 bytes of the table's state mark, a byte, the last-segment flag, then the zones, each
// a length byte and that many bytes of name.
constexpr std::size_t kMarkBytes = 4;
constexpr std::size_t kLastFlagOffset = 5;
constexpr std::size_t kZonesOffset = 6;
// The table may change while it is read; the walk starts over at most this often.
constexpr int kMaxRestarts = 3;
// Room for "%d," of a zone length and the comma after its name.
constexpr std::size_t kRecordOverhead = 5;

// The zone list as it is collected: written while it fits the caller's buffer, counted always.
class ZoneText {
  public:
    explicit ZoneText(std::size_t room) : room_(room) {}

    void Add(const std::uint8_t* name, std::size_t length) {
        const std::string record = std::to_string(length) + "," + std::string(name, name + length) + ",";
        if (!overflow_ && room_ < text_.size() + length + kRecordOverhead) {
            overflow_ = true;
        }
        needed_ += record.size();
        if (!overflow_) {
            text_ += record;
        }
    }
    void Clear() { *this = ZoneText(room_); }

    bool Overflow() const { return overflow_; }
    std::size_t Needed() const { return needed_; }
    // The text without its last comma.
    std::string Final() const { return text_.empty() ? text_ : text_.substr(0, text_.size() - 1); }

  private:
    std::size_t room_;
    std::string text_;
    std::size_t needed_ = 0;
    bool overflow_ = false;
};

// One segment of the zone table starting at zone `index`: its value bytes, or a failure result.
HelperResult ReadSegment(const char* adapterName, int index, std::string& segment) {
    Answer answer;
    const HelperResult result =
        GetOverChannel(adapterName, std::string(kZoneTableOid) + "." + std::to_string(index), answer);
    if (result != kHelperOk) {
        return result;
    }
    const VarBind* binding = answer->BindingCount == 1 ? answer->Bindings : nullptr;
    if (answer->ErrorStatus != 0 || binding == nullptr || binding->ValueType != kSnmpOctetString ||
        binding->ValueLength <= static_cast<std::int32_t>(kZonesOffset) || binding->Value == nullptr) {
        return kHelperDecodeFailed;
    }
    segment.assign(static_cast<const char*>(binding->Value), static_cast<std::size_t>(binding->ValueLength));
    return kHelperOk;
}

// Walks the zone table into `zones`: 0 or a failure result.
HelperResult WalkZones(const char* adapterName, ZoneText& zones) {
    std::string mark;
    int restarts = 0;
    int index = 1;
    for (;;) {
        std::string segment;
        const HelperResult result = ReadSegment(adapterName, index, segment);
        if (result != kHelperOk) {
            return result;
        }
        if (index == 1) {
            mark = segment.substr(0, kMarkBytes);
        } else if (segment.compare(0, kMarkBytes, mark) != 0) {
            if (++restarts > kMaxRestarts) {
                return kHelperDecodeFailed;
            }
            zones.Clear();
            index = 1;
            continue;
        }
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(segment.data());
        std::size_t offset = kZonesOffset;
        int taken = 0;
        while (offset < segment.size()) {
            const std::size_t length = bytes[offset];
            if (offset + 1 + length > segment.size()) {
                return kHelperDecodeFailed;
            }
            zones.Add(bytes + offset + 1, length);
            offset += 1 + length;
            ++taken;
        }
        if (bytes[kLastFlagOffset] != 0) {
            return kHelperOk;
        }
        // A segment that is not the last must move the walk on.
        if (taken == 0) {
            return kHelperDecodeFailed;
        }
        index += taken;
    }
}

}  // namespace

HALBRIN_EXPORT HelperResult HelperGetAppleTalkZones(const char* adapterName, char* buffer,
                                                    std::uint32_t* size) {
    if (adapterName == nullptr || buffer == nullptr || size == nullptr) {
        return kHelperNoMemory;
    }
    ZoneText zones(*size);
    const HelperResult result = WalkZones(adapterName, zones);
    if (result != kHelperOk) {
        return result;
    }
    if (zones.Overflow()) {
        *size = static_cast<std::uint32_t>(zones.Needed());
        return kHelperBufferTooSmall;
    }
    const std::string text = zones.Final();
    if (text.size() + 1 > *size) {
        *size = static_cast<std::uint32_t>(text.size() + 1);
        return kHelperBufferTooSmall;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    *size = static_cast<std::uint32_t>(text.size());
    return kHelperOk;
}

HALBRIN_EXPORT HelperResult HelperAppleTalkToAscii(std::intptr_t, std::intptr_t) {
    return kHelperOk;
}
