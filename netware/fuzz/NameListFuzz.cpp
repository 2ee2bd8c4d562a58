// Writes a NameList from the input into a buffer of exactly the room it is given: a byte giving the
// room (times 8), then records of a kind byte (odd: a browse record) and a length byte with that many
// bytes of name. The sanitizer catches a write past the buffer; the text must keep to the room and
// hold exactly the records accepted.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "netware/NameList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint32_t room = std::uint32_t{data[0]} * 8;
    std::vector<char> buffer(room + 1);
    std::uint32_t length = room;
    std::int32_t count = -1;
    NameListWriter list(buffer.data(), &length, &count);
    std::string expected;
    for (std::size_t at = 1; at + 2 <= size;) {
        const std::string_view kind = data[at] % 2 == 1 ? "1,O," : "";
        const std::size_t nameLength = std::min<std::size_t>(data[at + 1], size - at - 2);
        const std::string name(reinterpret_cast<const char*>(data + at + 2), nameLength);
        at += 2 + nameLength;
        if (list.Append(name, kind) != kNwOk) {
            break;
        }
        char number[8];
        std::snprintf(number, sizeof number, "%04zu,", name.size());
        expected += number + name + "," + std::string(kind);
    }
    if (expected.size() > room || std::memcmp(buffer.data(), expected.data(), expected.size()) != 0 ||
        buffer[expected.size()] != '\0') {
        std::abort();
    }
    list.Finish();
    if (!expected.empty()) {
        expected.pop_back();
    }
    if (length != expected.size() || std::memcmp(buffer.data(), expected.c_str(), expected.size() + 1) != 0) {
        std::abort();
    }
    return 0;
}
