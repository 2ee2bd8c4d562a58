#include "portmonitor/JobPackets.h"

#include <algorithm>

namespace {

std::vector<std::uint8_t> Header(std::uint8_t type, std::size_t length) {
    return {type, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length)};
}

}  // namespace

std::vector<std::uint8_t> DataPacket(const std::uint8_t* data, std::size_t count) {
    count = std::min(count, kMaxDataBytes);
    std::vector<std::uint8_t> packet = Header(kDataType, count);
    packet.insert(packet.end(), data, data + count);
    return packet;
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
    text.resize(std::min(text.size(), kMaxBannerText));
    return text;
}
