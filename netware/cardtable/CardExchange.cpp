#include "netware/cardtable/CardExchange.h"

#include <algorithm>
#include <cstring>

#include "platform/services/GlobalMemory.h"
#include "snmp/exports/Vantorel.h"

namespace {

// Room for the answer's objects and values: an SNMP message never carries more.
constexpr std::size_t kAnswerRoom = 65536;

// The text form of one decoded value.
CardValue TakeValue(std::int32_t type, const void* block, std::int32_t length) {
    if (type == kCardOctetString) {
        return {type, std::string(static_cast<const char*>(block), static_cast<std::size_t>(length))};
    }
    if (type == kCardInteger && length == sizeof(std::int32_t)) {
        std::int32_t number = 0;
        std::memcpy(&number, block, sizeof number);
        return {type, std::to_string(number)};
    }
    return {kCardOtherType, {}};
}

}  // namespace

bool ReadCardValues(char* text, std::size_t length, int count, std::vector<CardValue>& values) {
    char* cursor = text;
    const char* end = text + length;
    values.clear();
    for (int i = 0; i < count; ++i) {
        if (cursor == nullptr) {
            return false;
        }
        std::int32_t type = 0;
        std::int32_t size = static_cast<std::int32_t>(end - cursor);
        void* block = HelperDecodeValue(&cursor, &type, &size);
        if (block == nullptr) {
            return false;
        }
        values.push_back(TakeValue(type, block, size));
        plat::FreeBlock(block);
    }
    return true;
}

NwResult CardRead(const char* adapterName, CardOperation operation, std::string& oids, int count,
                  std::vector<CardValue>& values) {
    std::vector<char> oidBuffer(kAnswerRoom);
    std::vector<char> text(kAnswerRoom);
    std::memcpy(oidBuffer.data(), oids.c_str(), std::min(oids.size() + 1, oidBuffer.size() - 1));
    std::int32_t textSize = static_cast<std::int32_t>(text.size() - 1);
    const NwResult result =
        HelperSNMPTransact(adapterName, operation, oidBuffer.data(),
                           static_cast<std::int32_t>(oidBuffer.size() - 1), text.data(), &textSize, count);
    if (result != kNwOk) {
        return result;
    }
    if (operation == kCardGetNext) {
        oids.assign(oidBuffer.data(), strnlen(oidBuffer.data(), oidBuffer.size()));
    }
    if (textSize < 0 || static_cast<std::size_t>(textSize) >= text.size() ||
        !ReadCardValues(text.data(), static_cast<std::size_t>(textSize), count, values)) {
        return kCardBadAnswer;
    }
    return kNwOk;
}

NwResult CardWrite(const char* adapterName, const std::string& oid, const std::string& valueText) {
    std::vector<char> oidBuffer(oid.begin(), oid.end());
    oidBuffer.resize(oid.size() + 100, '\0');
    std::vector<char> text(valueText.begin(), valueText.end());
    text.push_back('\0');
    std::int32_t textSize = static_cast<std::int32_t>(text.size());
    return HelperSNMPTransact(adapterName, kCardSet, oidBuffer.data(),
                              static_cast<std::int32_t>(oidBuffer.size()), text.data(), &textSize, 1);
}

std::string IntegerText(std::int32_t value) {
    return "1," + std::to_string(value);
}

std::string OctetText(const std::string& bytes) {
    return "2," + std::to_string(bytes.size()) + "," + bytes;
}

std::vector<std::string> SplitOids(const std::string& oids) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = oids.find(',', start);
        parts.push_back(oids.substr(start, comma - start));
        if (comma == std::string::npos) {
            return parts;
        }
        start = comma + 1;
    }
}
