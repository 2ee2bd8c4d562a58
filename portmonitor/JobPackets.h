#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/spooler/Spooler.h"

// The packets of the job stream: a type byte, a 16-bit length in network byte order, the body.
inline constexpr std::uint8_t kBannerType = 0x30;
inline constexpr std::uint8_t kDataType = 0x01;
inline constexpr std::uint8_t kEndOfJobType = 0x04;
inline constexpr std::uint8_t kReadyByte = 0x20;
inline constexpr std::size_t kMaxDataBytes = 1490;
inline constexpr std::size_t kMaxBannerText = 128;
inline constexpr std::size_t kPacketHeader = 3;

// `DataPacket`s into `packets`: as many whole data packets as the data fills, one after another, for
// at most `maxBytes` bytes of data (at least one packet, an empty one for no data); `count` becomes
// the data bytes they carry. Answers the sum of those bytes.
std::uint32_t DataPackets(const std::uint8_t* data, std::size_t& count, std::size_t maxBytes,
                          std::vector<std::uint8_t>& packets);
// `EndOfJobPacket`: 0x04, 0x00, 0x00.
std::vector<std::uint8_t> EndOfJobPacket();
// The header of `WhoIsPrinting` for a banner text of `length` bytes.
std::vector<std::uint8_t> BannerHeader(std::size_t length);
// "Windows 95 :: machine :: user :: document", or "Windows" without a job record; at most 128
// bytes, cut at a character boundary of its UTF-8.
std::string BannerText(const plat::JobInfo1* job);
