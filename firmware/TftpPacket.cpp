#include "firmware/TftpPacket.h"

#include <algorithm>

namespace fendrel {

namespace {

std::uint16_t ReadWord(TftpBytes bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

void AppendWord(std::vector<std::uint8_t>& packet, std::uint16_t value) {
    packet.push_back(static_cast<std::uint8_t>(value >> 8));
    packet.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

// Takes the zero-terminated text that starts at `at`; false when no zero follows within the datagram.
bool TakeText(TftpBytes datagram, std::size_t& at, std::string& text) {
    const auto begin = datagram.begin() + static_cast<std::ptrdiff_t>(at);
    const auto zero = std::find(begin, datagram.end(), std::uint8_t{0});
    if (zero == datagram.end()) {
        return false;
    }
    text.assign(begin, zero);
    at = static_cast<std::size_t>(zero - datagram.begin()) + 1;
    return true;
}

}  // namespace

std::uint16_t TftpOpcodeOf(TftpBytes datagram) {
    return datagram.size() < 2 ? 0 : ReadWord(datagram, 0);
}

TftpRequestParse ParseTftpRequest(TftpBytes datagram, TftpRequest& request) {
    std::size_t at = 2;
    if (datagram.size() < at || !TakeText(datagram, at, request.fileName) ||
        !TakeText(datagram, at, request.mode)) {
        return TftpRequestParse::kMalformed;
    }
    if (request.fileName.size() > kTftpMaxFileName) {
        return TftpRequestParse::kNameTooLong;
    }
    if (request.mode.size() > kTftpMaxMode) {
        return TftpRequestParse::kModeTooLong;
    }
    return TftpRequestParse::kOk;
}

bool ParseTftpAck(TftpBytes datagram, std::uint16_t& block) {
    if (datagram.size() < 4) {
        return false;
    }
    block = ReadWord(datagram, 2);
    return true;
}

void BuildTftpData(std::uint16_t block, TftpBytes data, std::vector<std::uint8_t>& packet) {
    packet.clear();
    AppendWord(packet, kTftpData);
    AppendWord(packet, block);
    packet.insert(packet.end(), data.begin(), data.begin() + std::min(data.size(), kTftpBlockSize));
}

std::vector<std::uint8_t> BuildTftpError(std::uint16_t code, const std::string& message) {
    // Sized once: a packet grown word by word and then by the text is reallocated on the way, and g++
    // then sees a copy out of the empty first buffer (-Wstringop-overread).
    std::vector<std::uint8_t> packet;
    packet.reserve(4 + message.size() + 1);
    AppendWord(packet, kTftpError);
    AppendWord(packet, code);
    packet.insert(packet.end(), message.begin(), message.end());
    packet.push_back(0);
    return packet;
}

}  // namespace fendrel
