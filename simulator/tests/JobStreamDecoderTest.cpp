#include <gtest/gtest.h>

#include <numeric>

#include "simulator/JobStreamDecoder.h"

namespace sim {
namespace {

std::vector<uint8_t> Packet(uint8_t type, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> packet{type, static_cast<uint8_t>(body.size() >> 8),
                                static_cast<uint8_t>(body.size())};
    packet.insert(packet.end(), body.begin(), body.end());
    return packet;
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> joined;
    for (const auto& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

std::vector<uint8_t> Bytes(size_t count, uint8_t first) {
    std::vector<uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

TEST(JobStreamDecoder, AJobReadsTheSameInPiecesOfEverySize) {
    const std::vector<uint8_t> first = Bytes(1490, 7);
    const std::vector<uint8_t> second = Bytes(3, 250);
    const std::vector<uint8_t> stream =
        Join({Packet(JobBannerPacket, {'h', 'i'}), Packet(JobDataPacket, first), Packet(JobDataPacket, {}),
              Packet(JobDataPacket, second), Packet(JobEndPacket, {})});
    for (size_t piece : {1u, 2u, 3u, 4u, 1493u, 100000u}) {
        JobStreamDecoder decoder("tcp");
        for (size_t at = 0; at < stream.size(); at += piece) {
            EXPECT_FALSE(decoder.Ended());
            decoder.Feed(std::span(stream).subspan(at, std::min(piece, stream.size() - at)));
        }
        const JobRecord& job = decoder.Job();
        EXPECT_TRUE(job.ended) << piece;
        EXPECT_EQ(job.banner, "hi");
        EXPECT_EQ(job.packets, 3u);
        EXPECT_EQ(job.largestPacket, 1490u);
        EXPECT_EQ(job.byteCount, 1493u);
        std::vector<uint8_t> all = Join({first, second});
        EXPECT_EQ(job.firstBytes, all);
        EXPECT_EQ(job.checksum, std::accumulate(all.begin(), all.end(), 0u));
        EXPECT_EQ(job.framingErrors, 0u);
    }
}

TEST(JobStreamDecoder, CountsFramingErrors) {
    struct Case {
        const char* what;
        std::vector<uint8_t> stream;
        uint32_t errors;
        bool ended;
    };
    const Case cases[] = {
        {"unknown type, body skipped", Join({Packet(0x55, {1, 2}), Packet(JobEndPacket, {})}), 1, true},
        {"end with a body", Packet(JobEndPacket, {9}), 1, true},
        {"bytes after the end", Join({Packet(JobEndPacket, {}), {1}}), 1, true},
        {"cut in a header", {JobDataPacket, 0}, 0, false},
        {"cut in a body", {JobDataPacket, 0, 5, 1, 2}, 0, false},
    };
    for (const Case& c : cases) {
        JobStreamDecoder decoder("spx");
        decoder.Feed(c.stream);
        EXPECT_EQ(decoder.Job().framingErrors, c.errors) << c.what;
        EXPECT_EQ(decoder.Ended(), c.ended) << c.what;
    }
}

TEST(JobStreamDecoder, ALengthLongerThanWhatCameReadsOnlyWhatCame) {
    JobStreamDecoder decoder("dlc", JobKeeping{.firstBytes = 0, .folder = ""});
    decoder.Feed(std::vector<uint8_t>{JobDataPacket, 0xFF, 0xFF, 1, 2, 3});
    EXPECT_EQ(decoder.Job().byteCount, 3u);
    EXPECT_EQ(decoder.Job().checksum, 6u);
    EXPECT_TRUE(decoder.Job().firstBytes.empty());
    EXPECT_FALSE(decoder.Ended());
}

// A job of any size costs the card the same: the record keeps the first bytes and a bounded banner,
// the file (when asked for) every byte.
TEST(JobStreamDecoder, KeepsTheFirstBytesAndWritesTheRestOnlyToTheFile) {
    const std::string folder = ::testing::TempDir();
    const std::vector<uint8_t> first = Bytes(1490, 1);
    const std::vector<uint8_t> second = Bytes(1000, 9);
    const std::vector<uint8_t> longBanner(3000, 'b');
    JobStreamDecoder decoder("tcp", JobKeeping{.firstBytes = 2000, .folder = folder});
    decoder.Feed(
        Join({Packet(JobBannerPacket, longBanner), Packet(JobBannerPacket, {'c'}),
              Packet(JobDataPacket, first), Packet(JobDataPacket, second), Packet(JobEndPacket, {})}));
    const JobRecord job = decoder.Job();
    const std::vector<uint8_t> all = Join({first, second});
    EXPECT_EQ(job.banner, std::string(KeptBannerBytes, 'b'));
    EXPECT_EQ(job.byteCount, all.size());
    EXPECT_EQ(job.firstBytes, std::vector<uint8_t>(all.begin(), all.begin() + 2000));
    ASSERT_EQ(job.file.rfind(folder, 0), 0u) << job.file;
    std::FILE* file = std::fopen(job.file.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::vector<uint8_t> written(all.size() + 1);
    written.resize(std::fread(written.data(), 1, written.size(), file));
    std::fclose(file);
    std::remove(job.file.c_str());
    EXPECT_EQ(written, all);
}

}  // namespace
}  // namespace sim
