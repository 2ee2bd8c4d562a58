#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <algorithm>

#include <cstdint>
#include <string>
#include <vector>

#include "firmware/FirmwareMessages.h"
#include "firmware/tests/support/ChildProcess.h"
#include "firmware/tests/support/EventWindow.h"
#include "firmware/tests/support/FendrelRun.h"
#include "firmware/tests/support/StoreAccess.h"
#include "firmware/tests/support/TestFiles.h"
#include "firmware/tests/support/TftpClient.h"
#include "platform/store/StorePaths.h"

namespace {

using fendreltest::Pattern;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kBlockSize = 512;
// A start or an end of the program, or its event for what a client has just done, takes well under a
// second; the bound is for a loaded machine.
constexpr int kProgramMs = 60000;

// The fendrel program, started as the console starts it, serving to a window of this process.
class FendrelTest : public testing::Test {
  protected:
    void StartServer(std::uint32_t timeOutSeconds = 1) {
        fendreltest::SetStoreNumber(plat::kSnmpKey, "UdpTimeOutInterval", timeOutSeconds);
        ASSERT_TRUE(run_.Start(events_.Handle())) << run_.Failure();
        ASSERT_TRUE(events_.WaitFor(kTftpEventNone, kProgramMs));
        run_.Serve(events_.Handle());
        events_.Clear();
    }

    std::string Choose(const Bytes& content, const std::string& name = "firmware.bin") {
        const std::string path = folder_.Write(name, content);
        fendreltest::SetStoreText(plat::kTftpKey, "FlashFile", path);
        return path;
    }

    std::vector<std::uint16_t> EventCodes() {
        std::vector<std::uint16_t> codes;
        for (const plat::LParam event : events_.Events()) {
            codes.push_back(TftpEventOf(event));
        }
        return codes;
    }

    // 1030 for the first block, 1027 with a rising percentage up to 100 for the later ones, 1028 at the end.
    void ExpectTransferEvents(std::size_t size) {
        const std::vector<plat::LParam> events = events_.Events();
        ASSERT_GE(events.size(), 2u);
        EXPECT_EQ(TftpEventOf(events.front()), kTftpEventRequestReceived);
        EXPECT_EQ(TftpEventOf(events.back()), kTftpEventComplete);
        const std::vector<plat::LParam> progress(events.begin() + 1, events.end() - 1);
        EXPECT_EQ(progress.empty(), size < kBlockSize);
        for (std::size_t i = 0; i < progress.size(); ++i) {
            EXPECT_EQ(TftpEventOf(progress[i]), kTftpEventProgress);
            if (i > 0) {
                EXPECT_GT(TftpPercentageOf(progress[i]), TftpPercentageOf(progress[i - 1]));
            }
        }
        if (!progress.empty()) {
            EXPECT_EQ(TftpPercentageOf(progress.back()), 100);
        }
    }

    fendreltest::TestFolder folder_;
    fendreltest::EventWindow events_;
    fendreltest::FendrelRun run_;
};

TEST_F(FendrelTest, FilesArriveWholeWithTheirEventsAndTheWindowIsPublished) {
    StartServer();
    EXPECT_EQ(fendreltest::StoreText(plat::kTftpKey, "Window"),
              std::to_string(static_cast<std::int32_t>(run_.Window())));

    for (const std::size_t size : {0, 1, 511, 512, 513, 1 << 20}) {
        SCOPED_TRACE(size);
        const Bytes content = Pattern(size, static_cast<unsigned>(size));
        const std::string path = Choose(content);
        events_.Clear();
        const fendreltest::TftpClientResult result = fendreltest::TftpGet(path);
        ASSERT_TRUE(result.ok) << result.errorMessage;
        EXPECT_TRUE(result.data == content);
        ASSERT_TRUE(events_.WaitFor(kTftpEventComplete, kProgramMs));
        ExpectTransferEvents(size);
    }

    events_.Clear();
    EXPECT_EQ(run_.Release(), 0);
    EXPECT_EQ(EventCodes(), std::vector<std::uint16_t>{kTftpEventComplete});
    EXPECT_EQ(fendreltest::StoreText(plat::kTftpKey, "Window"), "0");
}

struct RealClient {
    const char* name;
    std::vector<std::string> (*arguments)(const std::string& remote, const std::string& local);
};

const RealClient kRealClients[] = {
    {"tftp",
     [](const std::string& remote, const std::string& local) {
         return std::vector<std::string>{"127.0.0.1", "-m", "octet", "-c", "get", remote, local};
     }},
    {"atftp",
     [](const std::string& remote, const std::string& local) {
         return std::vector<std::string>{"-g", "-r", remote, "-l", local, "127.0.0.1"};
     }},
};

TEST_F(FendrelTest, DebianClientsReadTheFile) {
    StartServer();
    for (const RealClient& client : kRealClients) {
        for (const std::size_t size : {0, 512, 513, 1 << 20}) {
            SCOPED_TRACE(std::string(client.name) + " " + std::to_string(size));
            const Bytes content = Pattern(size, 3);
            const std::string path = Choose(content);
            const std::string local = folder_.Path(std::string(client.name) + ".out");
            events_.Clear();
            fendreltest::ChildProcess process;
            ASSERT_TRUE(process.Start(client.name, client.arguments(path, local)));
            EXPECT_EQ(process.WaitForExit(20000), 0) << process.ErrorOutput();
            EXPECT_TRUE(folder_.Read(std::string(client.name) + ".out") == content);
            EXPECT_TRUE(events_.WaitFor(kTftpEventComplete, kProgramMs));
        }
    }
}

TEST_F(FendrelTest, OnlyTheChosenFileIsServed) {
    StartServer();
    const Bytes content = Pattern(2000);
    Choose(content);
    const std::string other = folder_.Write("other.bin", Pattern(10));

    for (const std::string& name : {other, std::string("/etc/passwd"), std::string("firmware.bin")}) {
        const fendreltest::TftpClientResult refused = fendreltest::TftpGet(name);
        EXPECT_FALSE(refused.ok) << name;
        EXPECT_EQ(refused.errorCode, 2) << name;
        EXPECT_EQ(refused.errorMessage, "access violation") << name;
    }
    // A request without a name gets the chosen file.
    const fendreltest::TftpClientResult chosen = fendreltest::TftpGet("");
    ASSERT_TRUE(chosen.ok) << chosen.errorMessage;
    EXPECT_TRUE(chosen.data == content);
}

TEST_F(FendrelTest, TenPercentLossStillDeliversEveryByte) {
    StartServer(0);
    const Bytes content = Pattern(64 << 10, 9);
    const std::string path = Choose(content);
    fendreltest::TftpClientOptions lossy;
    lossy.lossRate = 0.10;
    lossy.seed = 1350;
    lossy.waitMs = 50;
    lossy.attempts = 200;
    lossy.lingerMs = 1000;
    const fendreltest::TftpClientResult result = fendreltest::TftpGet(path, lossy);
    ASSERT_TRUE(result.ok) << result.errorMessage;
    EXPECT_GT(result.lost, 10u);
    EXPECT_TRUE(result.data == content);
    EXPECT_TRUE(events_.WaitFor(kTftpEventComplete, kProgramMs));
}

TEST_F(FendrelTest, StoppedServerDropsRequestsUntilStartedAgain) {
    StartServer();
    const std::string path = Choose(Pattern(600));
    run_.Stop();
    fendreltest::TftpClientOptions impatient;
    impatient.attempts = 3;
    EXPECT_FALSE(fendreltest::TftpGet(path, impatient).ok);

    run_.Serve(events_.Handle());
    EXPECT_TRUE(events_.WaitFor(kTftpEventNone, kProgramMs));
    EXPECT_TRUE(fendreltest::TftpGet(path).ok);
}

// The console stops serving when the user cancels: a transfer under way ends with it, rather than
// holding the server for its silent client.
TEST_F(FendrelTest, StopEndsATransferUnderWay) {
    StartServer();
    const Bytes content = Pattern(5000, 4);
    const std::string path = Choose(content);
    fendreltest::TftpClientOptions vanishing;
    vanishing.vanishAfter = 1;
    EXPECT_FALSE(fendreltest::TftpGet(path, vanishing).ok);
    run_.Stop();

    run_.Serve(events_.Handle());
    const fendreltest::TftpClientResult result = fendreltest::TftpGet(path);
    ASSERT_TRUE(result.ok) << result.errorMessage;
    EXPECT_TRUE(result.data == content);
}

// The console releases the server as it is told of 100 %: the release waits until that report and
// the transfer's completion are done, so the server ends with 1028 alone.
TEST_F(FendrelTest, AReleaseDuringAReportIsHandledAfterIt) {
    StartServer();
    const std::string path = Choose(Pattern(5000));
    const plat::WindowHandle server = run_.Window();
    events_.SetEventHook([server](plat::LParam event) {
        if (TftpEventOf(event) == kTftpEventProgress && TftpPercentageOf(event) == 100) {
            plat::SendMessage(server, WM_TFTP_RELEASE, 0, 0);
        }
    });
    EXPECT_TRUE(fendreltest::TftpGet(path).ok);
    EXPECT_EQ(run_.Process().WaitForExit(kProgramMs), 0);
    events_.SetEventHook({});
    const std::vector<std::uint16_t> codes = EventCodes();
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kTftpEventFailed), 0);
    EXPECT_EQ(codes.back(), kTftpEventComplete);
}

TEST_F(FendrelTest, SecondCopyTellsItsConsoleAndEnds) {
    StartServer();
    fendreltest::ChildProcess second;
    ASSERT_TRUE(second.Start(FENDREL_PROGRAM, {"TLX," + std::to_string(events_.Handle())}));
    EXPECT_EQ(second.WaitForExit(kProgramMs), 0);
    EXPECT_EQ(EventCodes(), std::vector<std::uint16_t>{kTftpEventNone});

    const Bytes content = Pattern(700);
    const fendreltest::TftpClientResult result = fendreltest::TftpGet(Choose(content));
    ASSERT_TRUE(result.ok) << result.errorMessage;
    EXPECT_EQ(run_.Release(), 0);
}

TEST_F(FendrelTest, PortInUseEndsTheStartWithEventZero) {
    const int blocker = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(69);
    ASSERT_EQ(bind(blocker, reinterpret_cast<const sockaddr*>(&any), sizeof any), 0);

    fendreltest::ChildProcess server;
    ASSERT_TRUE(server.Start(FENDREL_PROGRAM, {"TLX", std::to_string(events_.Handle())}));
    EXPECT_EQ(server.WaitForExit(kProgramMs), 1);
    close(blocker);
    // Once when its window was made, once when the port could not be had; no end report.
    EXPECT_EQ(EventCodes(), (std::vector<std::uint16_t>{kTftpEventNone, kTftpEventNone}));
    EXPECT_EQ(fendreltest::StoreText(plat::kTftpKey, "Window"), "0");
}

TEST(FendrelCommandLine, AnyOtherLineIsRefusedWithTheMessage) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, std::vector<std::string>{"XYZ", "5"},
          std::vector<std::string>{"tlx"}}) {
        fendreltest::ChildProcess process;
        ASSERT_TRUE(process.Start(FENDREL_PROGRAM, arguments));
        EXPECT_EQ(process.WaitForExit(kProgramMs), 1);
        EXPECT_NE(process.ErrorOutput().find("FENDREL Server not launched from the TLX"), std::string::npos);
    }
    EXPECT_EQ(plat::FindWindow("ASYNC_MSG_HANDLER", "CPH"), 0u);
}

}  // namespace
