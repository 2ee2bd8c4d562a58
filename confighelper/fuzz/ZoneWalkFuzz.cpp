// Walks an AppleTalk zone table whose segments come from the input: a byte giving the room of the
// caller's text (times 4), then records of a length byte and that many bytes of segment, answered one
// per read in order; a read past the last record fails as an unanswered one.
#include <string>
#include <vector>

#include "confighelper/AppleTalkZoneWalk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::vector<std::string> segments;
    for (std::size_t at = 1; at < size;) {
        const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
        segments.emplace_back(reinterpret_cast<const char*>(data + at + 1), length);
        at += 1 + length;
    }
    std::size_t next = 0;
    auto read = [&](int, std::string& segment) -> HelperResult {
        if (next == segments.size()) {
            return kHelperNoAnswer;
        }
        segment = segments[next++];
        return kHelperOk;
    };
    ZoneText zones(std::size_t{data[0]} * 4);
    WalkZones(read, zones);
    zones.Final();
    return 0;
}
