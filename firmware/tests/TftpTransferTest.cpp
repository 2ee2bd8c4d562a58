#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "firmware/FirmwareMessages.h"
#include "firmware/TftpTransfer.h"

namespace {

using fendrel::TftpOutcome;
using fendrel::TftpPeer;
using Bytes = std::vector<std::uint8_t>;
using Event = std::pair<std::uint16_t, std::uint16_t>;

const TftpPeer kClient{{127, 0, 0, 5}, 4000};
constexpr unsigned kRetransmitLimit = 5;

struct Sent {
    Bytes bytes;
    TftpPeer to;
};

class RecordingHost : public fendrel::TftpTransferHost {
  public:
    bool Send(fendrel::TftpBytes packet, const TftpPeer& to) override {
        sent.push_back({Bytes(packet.begin(), packet.end()), to});
        return true;
    }
    void Report(std::uint16_t event, std::uint16_t percentage) override {
        events.emplace_back(event, percentage);
    }
    std::string ChosenFile() override { return chosen; }
    void ArmRetransmit() override { armed = true; }
    void DisarmRetransmit() override { armed = false; }

    std::vector<Sent> sent;
    std::vector<Event> events;
    std::string chosen;
    bool armed = false;
};

std::uint16_t Word(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes.at(at) << 8 | bytes.at(at + 1));
}

Bytes RequestDatagram(std::uint16_t opcode, const std::string& name, const std::string& mode) {
    Bytes datagram{0, static_cast<std::uint8_t>(opcode)};
    datagram.insert(datagram.end(), name.begin(), name.end());
    datagram.push_back(0);
    datagram.insert(datagram.end(), mode.begin(), mode.end());
    datagram.push_back(0);
    return datagram;
}

Bytes AckDatagram(std::uint16_t block) {
    return {0, 4, static_cast<std::uint8_t>(block >> 8), static_cast<std::uint8_t>(block & 0xFF)};
}

Bytes Pattern(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    }
    return bytes;
}

class TftpTransferTest : public testing::Test {
  protected:
    TftpTransferTest() : folder_(MakeFolder()), transfer_(host_, kRetransmitLimit) {}
    ~TftpTransferTest() override { std::filesystem::remove_all(folder_); }

    static std::string MakeFolder() {
        std::string pattern = testing::TempDir() + "fendrel-XXXXXX";
        return ::mkdtemp(pattern.data());
    }

    std::string Path(const std::string& name) const { return folder_ + "/" + name; }

    // Writes the file and makes it the console's choice.
    std::string Choose(const Bytes& content, const std::string& name = "firmware.bin") {
        std::ofstream(Path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(content.data()),
                   static_cast<std::streamsize>(content.size()));
        host_.chosen = Path(name);
        return host_.chosen;
    }

    TftpOutcome Request(const std::string& name, const TftpPeer& from = kClient,
                        const std::string& mode = "octet") {
        return transfer_.HandleDatagram(RequestDatagram(fendrel::kTftpReadRequest, name, mode), from);
    }
    TftpOutcome Ack(std::uint16_t block, const TftpPeer& from = kClient) {
        return transfer_.HandleDatagram(AckDatagram(block), from);
    }

    const Sent& Last() const { return host_.sent.back(); }

    void ExpectData(const Sent& sent, std::uint16_t block, const TftpPeer& to = kClient) const {
        EXPECT_EQ(Word(sent.bytes, 0), fendrel::kTftpData);
        EXPECT_EQ(Word(sent.bytes, 2), block);
        EXPECT_EQ(sent.to, to);
    }
    void ExpectError(const Sent& sent, std::uint16_t code, const std::string& message,
                     const TftpPeer& to) const {
        Bytes expected = fendrel::BuildTftpError(code, message);
        EXPECT_EQ(sent.bytes, expected) << std::string(sent.bytes.begin() + 4, sent.bytes.end());
        EXPECT_EQ(sent.to, to);
    }

    // A client that acknowledges every block it gets until the short one; returns what it got.
    Bytes ReadToTheEnd() {
        Bytes received;
        for (std::uint16_t block = 1;; ++block) {
            const Bytes packet = Last().bytes;
            ExpectData(Last(), block);
            received.insert(received.end(), packet.begin() + 4, packet.end());
            const bool last = packet.size() - 4 < fendrel::kTftpBlockSize;
            EXPECT_FALSE(transfer_.Completed());
            EXPECT_EQ(Ack(block), last ? TftpOutcome::kFinished : TftpOutcome::kAnswered);
            if (last || HasFailure()) {
                return received;
            }
        }
    }

    std::string folder_;
    RecordingHost host_;
    fendrel::TftpTransfer transfer_;
};

class TftpTransferSizes : public TftpTransferTest, public testing::WithParamInterface<std::size_t> {};

TEST_P(TftpTransferSizes, EveryByteArrivesAndTheLastBlockIsShort) {
    const std::size_t size = GetParam();
    const Bytes content = Pattern(size);
    ASSERT_EQ(Request(Choose(content)), TftpOutcome::kAnswered);
    EXPECT_TRUE(host_.armed);

    EXPECT_EQ(ReadToTheEnd(), content);
    EXPECT_TRUE(transfer_.Completed());
    EXPECT_FALSE(transfer_.Sending());
    EXPECT_FALSE(host_.armed);

    // Files of a whole number of blocks end with an empty one.
    const std::size_t blocks = size / fendrel::kTftpBlockSize + 1;
    EXPECT_EQ(host_.sent.size(), blocks);
    EXPECT_EQ(host_.sent.back().bytes.size(), 4 + size % fendrel::kTftpBlockSize);

    // 1030 for the first block, 1027 for each later one that brings a new percentage, 1028 after the last.
    ASSERT_GE(host_.events.size(), 2u);
    EXPECT_EQ(host_.events.front(), Event(kTftpEventRequestReceived, 0));
    EXPECT_EQ(host_.events.back(), Event(kTftpEventComplete, 0));
    const std::vector<Event> progress(host_.events.begin() + 1, host_.events.end() - 1);
    EXPECT_EQ(progress.empty(), blocks == 1);
    for (std::size_t i = 0; i < progress.size(); ++i) {
        EXPECT_EQ(progress[i].first, kTftpEventProgress);
        if (i > 0) {
            EXPECT_GT(progress[i].second, progress[i - 1].second);
        }
    }
    if (!progress.empty()) {
        EXPECT_EQ(progress.back().second, 100);
    }
    if (size == 1 << 20) {
        EXPECT_EQ(progress.size(), 101u);  // 0 % to 100 %, each once
    }
}

INSTANTIATE_TEST_SUITE_P(Files, TftpTransferSizes, testing::Values(0, 1, 511, 512, 513, 1000, 1024, 1 << 20));

TEST_F(TftpTransferTest, FileOf1000BytesReportsRequestThenHundredThenComplete) {
    Request(Choose(Pattern(1000)));
    ReadToTheEnd();
    EXPECT_EQ(host_.events,
              (std::vector<Event>{
                  {kTftpEventRequestReceived, 0}, {kTftpEventProgress, 100}, {kTftpEventComplete, 0}}));
}

// The program's last report says whether the firmware went out: a request that starts no transfer
// does not take back a completed one.
TEST_F(TftpTransferTest, RefusedRequestAfterACompletedTransferLeavesItComplete) {
    Request(Choose(Pattern(700)));
    ReadToTheEnd();
    ASSERT_TRUE(transfer_.Completed());
    const TftpPeer stranger{{127, 0, 0, 9}, 5000};
    Request("/etc/passwd", stranger);
    ExpectError(Last(), 2, "access violation", stranger);
    Request(host_.chosen, kClient, "netascii");
    EXPECT_TRUE(transfer_.Completed());

    Request(host_.chosen);
    EXPECT_FALSE(transfer_.Completed());
}

// What the program's end reports of a transfer the client went silent in (its resends given up,
// then stopped as the end stops it): a failure only where the client can be missing data.
TEST_F(TftpTransferTest, TheEndReportsAFailureOnlyWhereTheClientCanBeMissingData) {
    const auto ackFirst = [this] { Ack(1); };
    struct Case {
        const char* what;
        std::size_t size;
        std::function<void()> play;
        TftpEvent end;
    };
    const Case cases[] = {
        {"every block acknowledged", 1000,
         [this] {
             Ack(1);
             Ack(2);
         },
         kTftpEventComplete},
        {"last block unacknowledged", 1000, ackFirst, kTftpEventSentUnconfirmed},
        {"the empty last block of 1024 bytes unacknowledged", 1024,
         [this] {
             Ack(1);
             Ack(2);
         },
         kTftpEventSentUnconfirmed},
        {"silent before the last block", 1500, ackFirst, kTftpEventFailed},
        {"first block unacknowledged", 1000, [] {}, kTftpEventFailed},
        {"client gave up after the last block", 1000,
         [&] {
             ackFirst();
             transfer_.HandleDatagram(fendrel::BuildTftpError(0, "disk full"), kClient);
         },
         kTftpEventFailed},
        {"transfer ended in an error after the last block", 1000,
         [&] {
             ackFirst();
             transfer_.HandleDatagram(RequestDatagram(fendrel::kTftpWriteRequest, "x", "octet"), kClient);
         },
         kTftpEventFailed},
        {"started again and silent at block 1", 1000,
         [&] {
             ackFirst();
             Request(host_.chosen);
         },
         kTftpEventFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Request(Choose(Pattern(c.size)));
        c.play();
        while (transfer_.HandleRetransmitTimeout() == TftpOutcome::kAnswered) {
        }
        transfer_.Stop();
        EXPECT_EQ(transfer_.EndEvent(), c.end);
    }
}

TEST_F(TftpTransferTest, OtherSendersGetUnknownTransferIdAndTheTransferGoesOn) {
    const Bytes content = Pattern(1500);
    Request(Choose(content));
    Ack(1);
    const TftpPeer otherPort{kClient.address, 4001};
    const TftpPeer otherHost{{127, 0, 0, 9}, kClient.port};

    for (const TftpPeer& stranger : {otherPort, otherHost}) {
        EXPECT_EQ(Ack(2, stranger), TftpOutcome::kAnswered);
        ExpectError(Last(), fendrel::kTftpUnknownTransferId, "Unknown transfer ID", stranger);
        EXPECT_EQ(Request(host_.chosen, stranger), TftpOutcome::kAnswered);
        ExpectError(Last(), fendrel::kTftpUnknownTransferId, "Unknown transfer ID", stranger);
        EXPECT_EQ(transfer_.HandleDatagram(fendrel::BuildTftpError(0, "stop"), stranger),
                  TftpOutcome::kSilent);
    }
    EXPECT_TRUE(transfer_.Sending());
    EXPECT_EQ(Ack(2), TftpOutcome::kAnswered);
    ExpectData(Last(), 3);
    EXPECT_EQ(Ack(3), TftpOutcome::kFinished);
    EXPECT_TRUE(transfer_.Completed());
}

TEST_F(TftpTransferTest, RepeatedRequestFromTheOwnerStartsAgainAtBlockOne) {
    const Bytes content = Pattern(2000);
    Request(Choose(content));
    Ack(1);
    Ack(2);
    ASSERT_EQ(Request(host_.chosen), TftpOutcome::kAnswered);
    host_.events.clear();
    host_.sent.erase(host_.sent.begin(), host_.sent.end() - 1);
    EXPECT_EQ(ReadToTheEnd(), content);
    EXPECT_EQ(host_.events.front(), Event(kTftpEventRequestReceived, 0));
}

TEST_F(TftpTransferTest, DuplicateAcknowledgementIsNotAnswered) {
    Request(Choose(Pattern(2000)));
    Ack(1);
    const std::size_t sent = host_.sent.size();
    EXPECT_EQ(Ack(1), TftpOutcome::kSilent);
    EXPECT_EQ(Ack(0), TftpOutcome::kSilent);
    EXPECT_EQ(transfer_.HandleDatagram(Bytes{0, 4, 0}, kClient), TftpOutcome::kSilent);
    EXPECT_EQ(host_.sent.size(), sent);
    EXPECT_TRUE(transfer_.Sending());
}

TEST_F(TftpTransferTest, OwnTimeOutResendsTheBlockABoundedNumberOfTimes) {
    Request(Choose(Pattern(2000)));
    Ack(1);
    const Bytes block2 = Last().bytes;
    for (unsigned i = 0; i < kRetransmitLimit; ++i) {
        host_.armed = false;
        EXPECT_EQ(transfer_.HandleRetransmitTimeout(), TftpOutcome::kAnswered);
        EXPECT_EQ(Last().bytes, block2);
        EXPECT_TRUE(host_.armed);
    }
    const std::size_t sent = host_.sent.size();
    EXPECT_EQ(transfer_.HandleRetransmitTimeout(), TftpOutcome::kSilent);
    EXPECT_EQ(host_.sent.size(), sent);
    EXPECT_FALSE(transfer_.Completed());
    EXPECT_FALSE(host_.armed);
    EXPECT_EQ(transfer_.HandleRetransmitTimeout(), TftpOutcome::kSilent);

    // The client's late acknowledgement (its own time-out is longer) still carries the transfer on.
    ASSERT_TRUE(transfer_.Sending());
    EXPECT_EQ(Ack(2), TftpOutcome::kAnswered);
    ExpectData(Last(), 3);
    EXPECT_TRUE(host_.armed);
    EXPECT_EQ(Ack(3), TftpOutcome::kAnswered);
    EXPECT_EQ(Ack(4), TftpOutcome::kFinished);
    EXPECT_TRUE(transfer_.Completed());
}

TEST_F(TftpTransferTest, TheOwnersRepeatedLastAcknowledgementIsIgnoredQuietly) {
    Request(Choose(Pattern(700)));
    Ack(1);
    ASSERT_EQ(Ack(2), TftpOutcome::kFinished);
    const std::size_t sent = host_.sent.size();
    EXPECT_EQ(Ack(2), TftpOutcome::kSilent);
    EXPECT_EQ(host_.sent.size(), sent);
    EXPECT_TRUE(transfer_.Completed());
    // Anyone else, or another block, still hears that nothing is being sent.
    EXPECT_EQ(Ack(2, {{127, 0, 0, 6}, 4000}), TftpOutcome::kAnswered);
    EXPECT_EQ(Ack(1), TftpOutcome::kAnswered);
    ExpectError(Last(), fendrel::kTftpNotDefined, fendrel::kTextBusy, kClient);
}

TEST_F(TftpTransferTest, AnAcknowledgedBlockRestoresTheRetransmitAllowance) {
    Request(Choose(Pattern(5000)));
    for (std::uint16_t block = 1; block <= 3; ++block) {
        for (unsigned i = 0; i < kRetransmitLimit; ++i) {
            ASSERT_EQ(transfer_.HandleRetransmitTimeout(), TftpOutcome::kAnswered);
        }
        Ack(block);
    }
    EXPECT_TRUE(transfer_.Sending());
}

struct Refusal {
    const char* what;
    std::string name;  // "<chosen>" and "<other>" stand for the paths of the chosen and another file
    std::string mode;
    std::uint16_t code;
    std::string message;
};

class TftpTransferRefusals : public TftpTransferTest, public testing::WithParamInterface<Refusal> {};

TEST_P(TftpTransferRefusals, AnswerAnErrorAndStayIdle) {
    const Refusal& c = GetParam();
    Choose(Pattern(10));
    Choose(Pattern(10), "other.bin");
    host_.chosen = Path("firmware.bin");
    const std::string name = c.name == "<chosen>"  ? host_.chosen
                             : c.name == "<other>" ? Path("other.bin")
                                                   : c.name;
    EXPECT_EQ(Request(name, kClient, c.mode), TftpOutcome::kAnswered);
    ExpectError(Last(), c.code, c.message, kClient);
    EXPECT_FALSE(transfer_.Sending());
    EXPECT_FALSE(host_.armed);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, TftpTransferRefusals,
    testing::Values(Refusal{"netascii", "<chosen>", "netascii", 0, "transfer mode not supported"},
                    Refusal{"mode over 9", "<chosen>", "octetoctet", 0, "transfer mode not supported"},
                    Refusal{"another file", "<other>", "octet", 2, "access violation"},
                    Refusal{"a system file", "/etc/passwd", "octet", 2, "access violation"},
                    Refusal{"name over 127", std::string(128, 'x'), "octet", 2, "access violation"}),
    [](const testing::TestParamInfo<Refusal>& info) { return "Case" + std::to_string(info.index); });

TEST_F(TftpTransferTest, ModeIsComparedWithoutCaseAndAnEmptyNameMeansTheChosenFile) {
    const Bytes content = Pattern(700);
    Choose(content);
    EXPECT_EQ(Request("", kClient, "OCTET"), TftpOutcome::kAnswered);
    EXPECT_EQ(ReadToTheEnd(), content);
}

TEST_F(TftpTransferTest, ChosenFileThatCannotBeServed) {
    host_.chosen = "";
    Request("");
    ExpectError(Last(), 1, "file nonexistent", kClient);
    Request("anything");
    ExpectError(Last(), 2, "access violation", kClient);

    host_.chosen = Path("missing.bin");
    Request("");
    ExpectError(Last(), 1, "file nonexistent", kClient);

    // Only a regular file: a folder, and a pipe, which no one may keep the server waiting on.
    const std::string pipe = Path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {folder_, pipe}) {
        host_.chosen = path;
        Request(path);
        ExpectError(Last(), 2, "access violation", kClient);
        EXPECT_FALSE(transfer_.Sending());
    }
}

TEST_F(TftpTransferTest, PacketsThatAreNotPartOfATransfer) {
    Choose(Pattern(2000));
    transfer_.HandleDatagram(RequestDatagram(fendrel::kTftpWriteRequest, "x", "octet"), kClient);
    ExpectError(Last(), 0, "write request not supported", kClient);
    Ack(1);
    ExpectError(Last(), 0, "TFTP Server is busy.  Try later.", kClient);
    transfer_.HandleDatagram(Bytes{0, 9}, kClient);
    ExpectError(Last(), 0, "TFTP Server is busy.  Try later.", kClient);
    transfer_.HandleDatagram(Bytes{0, 1, 'x'}, kClient);
    ExpectError(Last(), 4, "illegal TFTP operation", kClient);

    // Error packets are never answered; from the owner they end its transfer.
    const std::size_t sent = host_.sent.size();
    EXPECT_EQ(transfer_.HandleDatagram(fendrel::BuildTftpError(0, "x"), kClient), TftpOutcome::kSilent);
    EXPECT_EQ(host_.sent.size(), sent);
    Request(host_.chosen);
    EXPECT_EQ(transfer_.HandleDatagram(fendrel::BuildTftpError(0, "x"), kClient), TftpOutcome::kSilent);
    EXPECT_FALSE(transfer_.Sending());
    EXPECT_FALSE(host_.armed);
}

TEST_F(TftpTransferTest, WriteRequestFromTheOwnerDuringATransferEndsIt) {
    Request(Choose(Pattern(2000)));
    transfer_.HandleDatagram(RequestDatagram(fendrel::kTftpWriteRequest, "x", "octet"), kClient);
    ExpectError(Last(), 0, "TFTP Server is busy.  Try later.", kClient);
    EXPECT_FALSE(transfer_.Sending());
}

TEST_F(TftpTransferTest, FileThatGrowsIsServedToItsSizeAtTheStart) {
    const Bytes content = Pattern(1500);
    const std::string path = Choose(content);
    Request(path);
    std::ofstream(path, std::ios::binary | std::ios::app) << std::string(100000, 'g');
    EXPECT_EQ(ReadToTheEnd(), content);
    EXPECT_TRUE(transfer_.Completed());
}

TEST_F(TftpTransferTest, FileThatShrinksFailsInsteadOfEndingShort) {
    const std::string path = Choose(Pattern(3000));
    Request(path);
    std::filesystem::resize_file(path, 600);
    Ack(1);  // block 2 was read ahead while block 1 was on its way
    ExpectData(Last(), 2);
    Ack(2);
    ExpectError(Last(), 2, "access violation", kClient);
    EXPECT_FALSE(transfer_.Sending());
    EXPECT_FALSE(transfer_.Completed());
}

TEST_F(TftpTransferTest, LongFileWrapsBlockNumbersAndKeepsProgressIn64Bits) {
    // 48 MiB: past 65535 blocks, and past the 42 MB where bytes x 100 leaves 32 bits.
    const std::uint64_t size = 48ull << 20;
    const std::string path = Choose({});
    std::filesystem::resize_file(path, size);
    Request(path);
    std::uint64_t blocks = 0;
    std::uint16_t previous = 0;
    for (;;) {
        const std::uint16_t block = Word(Last().bytes, 2);
        ASSERT_EQ(block, static_cast<std::uint16_t>(blocks + 1));
        ++blocks;
        const bool last = Last().bytes.size() < 4 + fendrel::kTftpBlockSize;
        host_.sent.clear();
        if (Ack(block) == TftpOutcome::kFinished) {
            ASSERT_TRUE(last);
            break;
        }
        if (host_.events.back().first == kTftpEventProgress) {
            ASSERT_GE(host_.events.back().second, previous) << "block " << blocks;
            previous = host_.events.back().second;
        }
    }
    EXPECT_EQ(blocks, size / fendrel::kTftpBlockSize + 1);
    EXPECT_EQ(previous, 100);
    EXPECT_EQ(std::count(host_.events.begin(), host_.events.end(), Event(kTftpEventRequestReceived, 0)), 1);
}

// A client behind a link that loses one datagram in ten each way: it acknowledges what it gets and
// repeats its last acknowledgement when its own wait runs out; the server repeats on its time-out.
TEST_F(TftpTransferTest, TenPercentLossStillDeliversEveryByte) {
    const Bytes content = Pattern(1 << 20);
    std::mt19937 random(1350);
    std::bernoulli_distribution lost(0.10);
    Request(Choose(content));

    Bytes received;
    std::uint16_t expected = 1;
    std::size_t drops = 0;
    std::size_t carried = 0;
    TftpOutcome outcome = TftpOutcome::kAnswered;
    while (outcome != TftpOutcome::kFinished) {
        ASSERT_TRUE(transfer_.Sending());
        // Each turn the link carries a datagram the server has just sent, never an old one again.
        ASSERT_GT(host_.sent.size(), carried);
        carried = host_.sent.size();
        const Bytes packet = Last().bytes;
        if (lost(random)) {
            ++drops;
            // The client's repeated acknowledgement is not answered; the server's time-out is.
            Ack(static_cast<std::uint16_t>(expected - 1));
            outcome = transfer_.HandleRetransmitTimeout();
            continue;
        }
        const std::uint16_t block = Word(packet, 2);
        if (block == expected) {
            received.insert(received.end(), packet.begin() + 4, packet.end());
            ++expected;
        }
        if (lost(random)) {
            ++drops;
            outcome = transfer_.HandleRetransmitTimeout();
            continue;
        }
        outcome = Ack(block);
    }
    EXPECT_GT(drops, 300u);
    EXPECT_EQ(received, content);
    EXPECT_TRUE(transfer_.Completed());
}

}  // namespace
