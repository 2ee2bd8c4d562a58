#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/window/ProcessIdentity.h"
#include "platform/window/Window.h"
#include "platform/window/tests/PeerProtocol.h"
#include "platform/window/tests/PumpUntil.h"
#include "tests/ChildLines.h"

extern char** environ;

namespace {

using windowtest::PumpUntil;

plat::WindowHandle peerWindow = 0;
plat::WParam raceAnswered = 0;
bool raceDone = false;
std::vector<plat::WParam> sequence;
std::optional<plat::WParam> sequenceSeen;

plat::LResult TestProc(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                       plat::LParam lParam) {
    switch (message) {
        case peer::kHello:
            peerWindow = static_cast<plat::WindowHandle>(wParam);
            return 0;
        case peer::kPing:
            return static_cast<plat::LResult>(wParam + 1);
        case peer::kRaceDone:
            raceAnswered = wParam;
            raceDone = true;
            return 0;
        case peer::kSequence:
            sequence.push_back(wParam);
            return 0;
        case peer::kSequenceSeen:
            sequenceSeen = wParam;
            return 0;
        default:
            return plat::DefWindowProc(window, message, wParam, lParam);
    }
}

std::chrono::milliseconds Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

// The test window, and a peer process started for each test that finds it by class and title.
class CrossProcessTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { plat::RegisterWindowClass(peer::kClass, TestProc); }

    void SetUp() override {
        peerWindow = 0;
        raceDone = false;
        sequence.clear();
        sequenceSeen.reset();
        window_ = plat::CreateWindow(peer::kClass, peer::kTestTitle);
        ASSERT_NE(window_, 0u);
    }

    void TearDown() override {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        plat::DestroyWindow(window_);
    }

    void StartPeer(const char* mode) {
        char program[] = WINDOW_PEER_PATH;
        std::vector<char> modeText(mode, mode + std::strlen(mode) + 1);
        char* argv[] = {program, modeText.data(), nullptr};
        ASSERT_EQ(posix_spawn(&pid_, program, nullptr, nullptr, argv, environ), 0);
        // The bound is for a loaded machine.
        ASSERT_TRUE(PumpUntil([] { return peerWindow != 0; }, std::chrono::seconds(60)))
            << "the peer did not find this window (" << testsupport::EndOfChild(pid_) << ")";
    }

    int ReapPeer() {
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = 0;
        return status;
    }

    plat::WindowHandle window_ = 0;
    pid_t pid_ = 0;
};

TEST_F(CrossProcessTest, PeersFindEachOtherAndExchangePostedAndSentMessages) {
    StartPeer("serve");
    EXPECT_EQ(plat::FindWindow("vorlanepeer", "PEER"), peerWindow);
    EXPECT_TRUE(plat::IsWindow(peerWindow));
    EXPECT_EQ(plat::WindowHandleFromText(plat::WindowHandleToText(peerWindow)), peerWindow);

    EXPECT_EQ(plat::SendMessage(peerWindow, peer::kPing, 41, 0), 42);
    // The peer sends to this process while this process waits for its answer.
    EXPECT_EQ(plat::SendMessage(peerWindow, peer::kAskBack, 7, window_), 80);

    for (plat::WParam i = 0; i < 100; ++i) {
        ASSERT_TRUE(plat::PostMessage(peerWindow, peer::kSequence, i, 0));
    }
    ASSERT_TRUE(plat::PostMessage(peerWindow, peer::kReportSequence, 0, window_));
    ASSERT_TRUE(PumpUntil([] { return sequenceSeen.has_value(); }));
    EXPECT_EQ(*sequenceSeen, 100u) << "posted messages keep their order";

    EXPECT_EQ(plat::SendMessage(peerWindow, peer::kPostBack, 50, window_), 1);
    ASSERT_TRUE(PumpUntil([] { return sequence.size() == 50; }));
    for (plat::WParam i = 0; i < 50; ++i) {
        EXPECT_EQ(sequence[i], i);
    }

    ASSERT_TRUE(plat::PostMessage(peerWindow, plat::kWmClose, 0, 0));
    EXPECT_EQ(WEXITSTATUS(ReapPeer()), 0);
    EXPECT_FALSE(plat::IsWindow(peerWindow));
}

TEST_F(CrossProcessTest, BothSendToEachOtherAtTheSameMomentWithoutDeadlock) {
    StartPeer("serve");
    constexpr plat::WParam kRounds = 200;
    ASSERT_TRUE(plat::PostMessage(peerWindow, peer::kRace, kRounds, window_));
    plat::WParam right = 0;
    for (plat::WParam i = 0; i < kRounds; ++i) {
        right += plat::SendMessage(peerWindow, peer::kPing, i, 0) == static_cast<plat::LResult>(i + 1);
    }
    ASSERT_TRUE(PumpUntil([] { return raceDone; }));
    EXPECT_EQ(right, kRounds);
    EXPECT_EQ(raceAnswered, kRounds);
}

TEST_F(CrossProcessTest, WindowTextsTravelBetweenProcesses) {
    StartPeer("serve");
    EXPECT_EQ(plat::GetWindowText(peerWindow), peer::kPeerTitle);
    EXPECT_TRUE(plat::SetWindowText(peerWindow, "renamed"));
    EXPECT_EQ(plat::FindWindow(peer::kClass, "renamed"), peerWindow);
    EXPECT_EQ(plat::FindWindow(peer::kClass, peer::kPeerTitle), 0u);
    EXPECT_EQ(plat::GetWindowText(peerWindow), "renamed");
    EXPECT_EQ(plat::SendMessage(peerWindow, plat::kWmGetTextLength, 0, 0), 7);
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(plat::SendMessage(peerWindow, plat::kWmGetText, sizeof buffer,
                                reinterpret_cast<plat::LParam>(buffer)),
              3);
    EXPECT_STREQ(buffer, "ren");
}

TEST_F(CrossProcessTest, HandleOfAnEndedProcessIsNoWindow) {
    StartPeer("vanish");
    siginfo_t info{};
    ASSERT_EQ(waitid(P_PID, pid_, &info, WEXITED | WNOWAIT), 0);  // ended, not yet reaped
    for (bool reaped : {false, true}) {
        EXPECT_FALSE(plat::IsWindow(peerWindow)) << reaped;
        EXPECT_FALSE(plat::PostMessage(peerWindow, peer::kPing, 1, 0));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(plat::SendMessage(peerWindow, peer::kPing, 1, 0), 0);
        EXPECT_LT(Since(start).count(), 1000);
        EXPECT_EQ(plat::FindWindow(peer::kClass, peer::kPeerTitle), 0u);
        EXPECT_FALSE(plat::SetWindowText(peerWindow, "x"));
        ReapPeer();
    }
}

// A killed process leaves its window's entry behind; what was learnt of it while it ran does not
// make it look alive.
TEST_F(CrossProcessTest, PeerKilledAfterUseTakesNothingMore) {
    StartPeer("serve");
    ASSERT_TRUE(plat::PostMessage(peerWindow, peer::kSequence, 0, 0));
    ASSERT_EQ(plat::SendMessage(peerWindow, peer::kPing, 1, 0), 2);
    kill(pid_, SIGKILL);
    siginfo_t info{};
    ASSERT_EQ(waitid(P_PID, pid_, &info, WEXITED | WNOWAIT), 0);
    for (bool reaped : {false, true}) {
        EXPECT_FALSE(plat::PostMessage(peerWindow, peer::kSequence, 1, 0)) << reaped;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(plat::SendMessage(peerWindow, peer::kPing, 1, 0), 0);
        EXPECT_LT(Since(start).count(), 1000);
        if (!reaped) {
            ReapPeer();
        }
    }
    EXPECT_FALSE(plat::IsWindow(peerWindow));
}

TEST_F(CrossProcessTest, SendAnswersZeroWhenTheReceiverEndsMeanwhile) {
    StartPeer("serve");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(plat::SendMessage(peerWindow, peer::kDie, 0, 0), 0);
    EXPECT_LT(Since(start).count(), 2000);
    EXPECT_EQ(WEXITSTATUS(ReapPeer()), 3);
}

// A socket of this process is meaningless to another one, and notices already on their way there
// could not be taken back by a cancel.
TEST_F(CrossProcessTest, SocketNoticesGoOnlyToWindowsOfThisProcess) {
    StartPeer("serve");
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(plat::AsyncSelect(fd, 1, peerWindow, plat::kWmUser, plat::kFdRead));
    EXPECT_TRUE(plat::AsyncSelect(fd, 1, window_, plat::kWmUser, plat::kFdRead));
    plat::CancelAsyncSelect(fd);
    close(fd);
}

TEST(ProcessIdentity, TellsAReusedPidApart) {
    const plat::ProcessIdentity self = plat::SelfIdentity();
    EXPECT_TRUE(plat::IsProcessAlive(self));
    EXPECT_FALSE(plat::IsProcessAlive({self.pid, self.startTime + 1}));
    EXPECT_FALSE(plat::IsProcessAlive({}));
}

}  // namespace
