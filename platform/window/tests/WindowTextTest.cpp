#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/window/Window.h"
#include "platform/window/tests/PumpUntil.h"

namespace {

using windowtest::PumpUntil;

enum : std::uint32_t { kSetSecondNotice = plat::kWmUser + 1 };

std::vector<std::string> notices;  // "+text" when a change handler starts, "-text" when it ends
plat::WindowHandle noticeWindow = 0;
std::function<void()> onFirstNotice;

// The change handler of a text box that receives notices: it may pump messages itself.
plat::LResult NoticeProc(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                         plat::LParam lParam) {
    if (message == plat::kWmSetText) {
        const plat::LResult stored = plat::DefWindowProc(window, message, wParam, lParam);
        const std::string text = plat::GetWindowText(window);
        notices.push_back("+" + text);
        if (text == "first" && onFirstNotice) {
            onFirstNotice();
        }
        notices.push_back("-" + text);
        return stored;
    }
    if (message == kSetSecondNotice) {
        plat::SetWindowText(noticeWindow, "second");
        return 0;
    }
    return plat::DefWindowProc(window, message, wParam, lParam);
}

class WindowTextTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { plat::RegisterWindowClass("NoticeBox", NoticeProc); }
    void SetUp() override {
        notices.clear();
        onFirstNotice = nullptr;
        noticeWindow = plat::CreateWindow("NoticeBox", "");
        ASSERT_NE(noticeWindow, 0u);
    }
    void TearDown() override { plat::DestroyWindow(noticeWindow); }
};

TEST_F(WindowTextTest, EverySetRunsTheHandlerInsideTheCall) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(plat::SetWindowText(noticeWindow, "4"));
        EXPECT_EQ(notices.size(), 2u * (i + 1)) << "identical text is a notice too";
    }
    EXPECT_EQ(plat::GetWindowText(noticeWindow), "4");
    EXPECT_EQ(plat::FindWindow("NoticeBox", "4"), noticeWindow);
}

// The second notice comes while the first one's handler pumps: from a message this thread takes, and
// from another thread that sets the text.
TEST_F(WindowTextTest, HandlerThatPumpsSeesASecondNoticeInOrder) {
    std::thread setter;
    const std::vector<std::function<void()>> sources = {
        [] { plat::PostMessage(noticeWindow, kSetSecondNotice, 0, 0); },
        [&setter] { setter = std::thread([] { plat::SetWindowText(noticeWindow, "second"); }); },
    };
    for (const auto& source : sources) {
        notices.clear();
        onFirstNotice = [&source] {
            source();
            EXPECT_TRUE(PumpUntil([] { return notices.size() == 3; }));
        };
        ASSERT_TRUE(plat::SetWindowText(noticeWindow, "first"));
        if (setter.joinable()) {
            setter.join();
        }
        EXPECT_EQ(notices, (std::vector<std::string>{"+first", "+second", "-second", "-first"}));
        EXPECT_EQ(plat::GetWindowText(noticeWindow), "second");
    }
}

TEST_F(WindowTextTest, GetTextCutsToTheBufferAndOtherThreadsReadIt) {
    plat::SetWindowText(noticeWindow, "hello");
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(plat::SendMessage(noticeWindow, plat::kWmGetText, sizeof buffer,
                                reinterpret_cast<plat::LParam>(buffer)),
              3);
    EXPECT_STREQ(buffer, "hel");
    EXPECT_EQ(plat::SendMessage(noticeWindow, plat::kWmGetTextLength, 0, 0), 5);
    EXPECT_EQ(plat::SendMessage(noticeWindow, plat::kWmGetText, 0, reinterpret_cast<plat::LParam>(buffer)),
              0);

    std::string fromThread;
    std::thread reader([&] { fromThread = plat::GetWindowText(noticeWindow); });
    ASSERT_TRUE(PumpUntil([&] { return !fromThread.empty(); }));
    reader.join();
    EXPECT_EQ(fromThread, "hello");
}

TEST_F(WindowTextTest, TextOfAGoneWindowCannotBeSet) {
    const plat::WindowHandle gone = plat::CreateWindow("NoticeBox", "");
    plat::DestroyWindow(gone);
    EXPECT_FALSE(plat::SetWindowText(gone, "x"));
    EXPECT_EQ(plat::GetWindowText(gone), "");
}

}  // namespace
