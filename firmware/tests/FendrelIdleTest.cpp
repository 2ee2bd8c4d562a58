#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "firmware/FirmwareMessages.h"
#include "firmware/tests/support/EventWindow.h"
#include "firmware/tests/support/FendrelRun.h"
#include "firmware/tests/support/StoreAccess.h"
#include "firmware/tests/support/TestFiles.h"
#include "firmware/tests/support/TftpClient.h"
#include "platform/store/StorePaths.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// Ten seconds without a datagram after an answer end the program.
class FendrelIdleTest : public testing::Test {
  protected:
    void SetUp() override {
        // Repeats of an unanswered block every 200 ms, so that giving up comes well before the idle end.
        fendreltest::SetStoreNumber(plat::kSnmpKey, "UdpTimeOutInterval", 0);
        ASSERT_TRUE(run_.Start(events_.Handle())) << run_.Failure();
        run_.Serve(events_.Handle());
        ASSERT_TRUE(events_.WaitFor(kTftpEventNone, 60000));  // its start: a bound for a loaded machine
        path_ = folder_.Write("firmware.bin", fendreltest::Pattern(5000));
        fendreltest::SetStoreText(plat::kTftpKey, "FlashFile", path_);
        events_.Clear();
    }

    std::uint16_t LastEvent() {
        const std::vector<plat::LParam> events = events_.Events();
        return events.empty() ? 0xFFFF : TftpEventOf(events.back());
    }

    fendreltest::TestFolder folder_;
    fendreltest::EventWindow events_;
    fendreltest::FendrelRun run_;
    std::string path_;
};

TEST_F(FendrelIdleTest, ClientThatVanishesMidTransferEndsItAsAFailure) {
    fendreltest::TftpClientOptions vanishing;
    vanishing.vanishAfter = 2;
    EXPECT_FALSE(fendreltest::TftpGet(path_, vanishing).ok);
    const auto vanished = std::chrono::steady_clock::now();

    // Block 3 repeated a second apart for eight seconds (past a client's own time-out), then ten
    // idle seconds.
    EXPECT_EQ(run_.Process().WaitForExit(25000), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - vanished, seconds(18));
    EXPECT_EQ(LastEvent(), kTftpEventFailed);
    EXPECT_TRUE(events_.WaitFor(kTftpEventRequestReceived, 0));
    EXPECT_FALSE(events_.WaitFor(kTftpEventComplete, 0));
    EXPECT_EQ(fendreltest::StoreText(plat::kTftpKey, "Window"), "0");
}

// The console's dialog takes a server that went away for a failure: after a completed transfer the
// server waits, idle, for the console to close it.
TEST_F(FendrelIdleTest, CompletedTransferStaysUpUntilTheConsoleClosesIt) {
    ASSERT_TRUE(fendreltest::TftpGet(path_).ok);
    ASSERT_TRUE(events_.WaitFor(kTftpEventComplete, 60000));  // a bound for a loaded machine
    EXPECT_EQ(run_.Process().WaitForExit(10500), -1);         // past the idle time
    events_.Clear();
    EXPECT_EQ(run_.Release(), 0);
    EXPECT_EQ(LastEvent(), kTftpEventComplete);
}

TEST_F(FendrelIdleTest, DroppedDatagramRestartsTheIdleTime) {
    // An answer (an error) arms the idle time; requests are dropped once serving stops.
    EXPECT_EQ(fendreltest::TftpGet("not-the-firmware").errorCode, 2);
    const auto answered = std::chrono::steady_clock::now();
    run_.Stop();

    std::this_thread::sleep_for(seconds(6));
    fendreltest::TftpClientOptions once;
    once.attempts = 0;
    EXPECT_FALSE(fendreltest::TftpGet(path_, once).ok);

    // Not ended ten seconds after the answer, but ten seconds after the dropped datagram; the second
    // wait leaves a loaded machine room and still ends before a doubled idle time would.
    EXPECT_EQ(run_.Process().WaitForExit(6000), -1);
    EXPECT_EQ(run_.Process().WaitForExit(12000), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - answered, seconds(16));
    EXPECT_EQ(LastEvent(), kTftpEventFailed);
}

}  // namespace
