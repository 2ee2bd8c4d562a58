#include "platform/netware/NetWareMessage.h"

#include "platform/lan/BigEndian.h"
#include "platform/lan/LanFrame.h"

namespace plat {

namespace {

constexpr std::uint8_t kRequestMark = 'Q';
constexpr std::uint8_t kReplyMark = 'R';
// Mark, session, id, code, field count.
constexpr std::size_t kHeaderSize = 1 + 4 + 4 + 4 + 1;

}  // namespace

std::vector<std::uint8_t> EncodeNetWareMessage(const NetWareMessage& message) {
    if (message.fields.size() > kNetWareMaxFields) {
        return {};
    }
    std::vector<std::uint8_t> bytes;
    bytes.push_back(message.reply ? kReplyMark : kRequestMark);
    PutBig32(bytes, message.session);
    PutBig32(bytes, message.id);
    PutBig32(bytes, static_cast<std::uint32_t>(message.code));
    bytes.push_back(static_cast<std::uint8_t>(message.fields.size()));
    for (const std::string& field : message.fields) {
        if (field.size() > kIpxMaxData) {
            return {};
        }
        PutBig16(bytes, static_cast<std::uint16_t>(field.size()));
        bytes.insert(bytes.end(), field.begin(), field.end());
    }
    if (bytes.size() > kIpxMaxData) {
        return {};
    }
    return bytes;
}

std::optional<NetWareMessage> DecodeNetWareMessage(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize || (bytes[0] != kRequestMark && bytes[0] != kReplyMark)) {
        return std::nullopt;
    }
    NetWareMessage message;
    message.reply = bytes[0] == kReplyMark;
    message.session = GetBig32(bytes, 1);
    message.id = GetBig32(bytes, 5);
    message.code = static_cast<std::int32_t>(GetBig32(bytes, 9));
    const std::size_t count = bytes[13];
    if (count > kNetWareMaxFields) {
        return std::nullopt;
    }
    std::size_t at = kHeaderSize;
    for (std::size_t i = 0; i < count; ++i) {
        if (bytes.size() - at < 2) {
            return std::nullopt;
        }
        const std::size_t length = GetBig16(bytes, at);
        at += 2;
        if (bytes.size() - at < length) {
            return std::nullopt;
        }
        message.fields.emplace_back(reinterpret_cast<const char*>(bytes.data() + at), length);
        at += length;
    }
    if (at != bytes.size()) {
        return std::nullopt;
    }
    return message;
}

}  // namespace plat
