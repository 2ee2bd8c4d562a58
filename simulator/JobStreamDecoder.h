#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sim {

// Packet types of the job stream: a type byte, a 16-bit big-endian length, the body.
inline constexpr uint8_t JobBannerPacket = 0x30;
inline constexpr uint8_t JobDataPacket = 0x01;
inline constexpr uint8_t JobEndPacket = 0x04;
inline constexpr uint8_t JobReadyByte = 0x20;
inline constexpr uint8_t JobBusyByte = 0x21;
inline constexpr uint8_t JobAnswerByte = 0x06;

// What a card saw of one job.
struct JobRecord {
    std::string transport;  // "tcp", "spx" or "dlc"
    std::string banner;
    uint64_t byteCount = 0;             // data bytes, the headers not counted
    std::vector<uint16_t> packetSizes;  // the length of each data packet, in order
    uint32_t framingErrors = 0;         // unknown packet types, an end with a body, bytes after the end
    uint32_t checksum = 0;              // the 32-bit sum of the data bytes
    std::vector<uint8_t> bytes;         // the data bytes, when the listener keeps them
    bool ended = false;                 // the end-of-job packet arrived
};

// Reads the job stream as it arrives, in pieces of any size, into a JobRecord. It never trusts a
// length: a body is read only as far as it has arrived.
class JobStreamDecoder {
  public:
    explicit JobStreamDecoder(std::string transport, bool keepBytes = true);

    void Feed(std::span<const uint8_t> bytes);
    bool Ended() const { return job_.ended; }
    const JobRecord& Job() const { return job_; }
    // True once anything of a job arrived.
    bool Started() const { return started_; }

  private:
    void TakeHeader(uint8_t byte);
    void TakeBody(std::span<const uint8_t> body);
    void EndPacket();

    JobRecord job_;
    bool keepBytes_;
    bool started_ = false;
    uint8_t header_[3] = {};
    size_t headerFill_ = 0;
    size_t bodyLeft_ = 0;  // bytes of the current packet's body still to come
};

}  // namespace sim
