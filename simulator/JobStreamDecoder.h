#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
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

// The banner text a job record keeps at most: far more than a monitor sends, and a bound on what a
// peer that sends banners without end can make the card hold.
inline constexpr size_t KeptBannerBytes = 1024;

// What a card keeps of each job besides its counts and checksum, so that a job of any size costs
// the card the same memory.
struct JobKeeping {
    size_t firstBytes = 4096;  // data bytes kept in the record
    std::string folder;        // not empty: every job's data bytes also go to a file of their own there
};

// What a card saw of one job.
struct JobRecord {
    std::string transport;            // "tcp", "spx" or "dlc"
    std::string banner;               // its first KeptBannerBytes bytes
    uint64_t byteCount = 0;           // data bytes, the headers not counted
    uint64_t packets = 0;             // data packets
    uint16_t largestPacket = 0;       // the length of the longest data packet
    uint32_t framingErrors = 0;       // unknown packet types, an end with a body, bytes after the end
    uint32_t checksum = 0;            // the 32-bit sum of the data bytes
    std::vector<uint8_t> firstBytes;  // the first data bytes, as many as the listener keeps
    std::string file;                 // the file of all its data bytes, when the listener writes them
    bool ended = false;               // the end-of-job packet arrived
};

// Reads the job stream as it arrives, in pieces of any size, into a JobRecord. It never trusts a
// length: a body is read only as far as it has arrived.
class JobStreamDecoder {
  public:
    explicit JobStreamDecoder(std::string transport, const JobKeeping& keeping = {});

    void Feed(std::span<const uint8_t> bytes);
    bool Ended() const { return job_.ended; }
    // The job so far; its file holds every byte that came.
    const JobRecord& Job();
    // True once anything of a job arrived.
    bool Started() const { return started_; }

  private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    void TakeHeader(uint8_t byte);
    void TakeBody(std::span<const uint8_t> body);
    void EndPacket();

    JobRecord job_;
    size_t keptBytes_;
    std::unique_ptr<std::FILE, FileCloser> file_;
    bool started_ = false;
    uint8_t header_[3] = {};
    size_t headerFill_ = 0;
    size_t bodyLeft_ = 0;  // bytes of the current packet's body still to come
};

}  // namespace sim
