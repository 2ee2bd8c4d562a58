#include "confighelper/AppleTalkZoneWalk.h"

namespace {

constexpr std::size_t kMarkBytes = 4;
constexpr std::size_t kLastFlagOffset = 5;
constexpr std::size_t kZonesOffset = 6;
// The table may change while it is read; the walk starts over at most this often.
constexpr int kMaxRestarts = 3;
// An AppleTalk network has at most this many zones: a table that goes on is broken.
constexpr int kMaxZones = 255;
// Room for "%d," of a zone length and the comma after its name.
constexpr std::size_t kRecordOverhead = 5;

}  // namespace

void ZoneText::Add(const std::uint8_t* name, std::size_t length) {
    const std::string record = std::to_string(length) + "," + std::string(name, name + length) + ",";
    if (!overflow_ && room_ < text_.size() + length + kRecordOverhead) {
        overflow_ = true;
    }
    needed_ += record.size();
    if (!overflow_) {
        text_ += record;
    }
}

HelperResult WalkZones(const ZoneSegmentReader& read, ZoneText& zones) {
    std::string mark;
    int restarts = 0;
    int index = 1;
    for (;;) {
        std::string segment;
        const HelperResult result = read(index, segment);
        if (result != kHelperOk) {
            return result;
        }
        if (segment.size() <= kZonesOffset) {
            return kHelperDecodeFailed;
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
        int taken = 0;
        for (std::size_t offset = kZonesOffset; offset < segment.size(); ++taken) {
            const std::size_t length = bytes[offset];
            if (offset + 1 + length > segment.size()) {
                return kHelperDecodeFailed;
            }
            zones.Add(bytes + offset + 1, length);
            offset += 1 + length;
        }
        if (bytes[kLastFlagOffset] != 0) {
            return kHelperOk;
        }
        // A segment that is not the last must move the walk on, and not past the last zone there can be.
        index += taken;
        if (taken == 0 || index > kMaxZones) {
            return kHelperDecodeFailed;
        }
    }
}
