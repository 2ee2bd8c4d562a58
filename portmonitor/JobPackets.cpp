#include "portmonitor/JobPackets.h"

#include "portmonitor/JobChecksum.h"

#include <algorithm>

namespace {

std::vector<std::uint8_t> Header(std::uint8_t type, std::size_t length) {
    return {type, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length)};
}

}  // namespace

std::uint32_t DataPackets(const std::uint8_t* data, std::size_t& count, std::size_t maxBytes,
                          std::vector<std::uint8_t>& packets) {
    count = std::min(count, std::max(maxBytes, kMaxDataBytes));
    packets.resize((count + kMaxDataBytes - 1) / kMaxDataBytes * kPacketHeader + count +
                   (count == 0 ? kPacketHeader : 0));
    std::uint8_t* out = packets.data();
    std::size_t offset = 0;
    std::uint32_t sum = 0;
    do {
        const std::size_t length = std::min(count - offset, kMaxDataBytes);
        *out++ = kDataType;
        *out++ = static_cast<std::uint8_t>(length >> 8);
        *out++ = static_cast<std::uint8_t>(length);
        sum += CopyAndSum(out, data + offset, length);
        out += length;
        offset += length;
    } while (offset < count);
    return sum;
}

std::vector<std::uint8_t> EndOfJobPacket() {
    return Header(kEndOfJobType, 0);
}

std::vector<std::uint8_t> BannerHeader(std::size_t length) {
    return Header(kBannerType, length);
}

std::string BannerText(const plat::JobInfo1* job) {
    if (job == nullptr) {
        return "Windows";
    }
    std::string text = "Windows 95 :: " + job->machineName + " :: " + job->userName + " :: " + job->document;
    if (text.size() > kMaxBannerText) {
        // Cut before the character that does not fit whole: never before a UTF-8 continuation byte
        // (a character has at most three; text that is no UTF-8 is cut as it comes).
        std::size_t cut = kMaxBannerText;
        for (int step = 0; step < 3 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++step) {
            --cut;
        }
        text.resize(cut);
    }
    return text;
}
