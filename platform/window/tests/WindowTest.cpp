#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/window/Window.h"

namespace {

std::vector<std::uint32_t> seen;

plat::LResult RecordingProc(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                            plat::LParam lParam) {
    seen.push_back(message);
    return plat::DefWindowProc(window, message, wParam, lParam);
}

class WindowTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { plat::RegisterWindowClass("WindowTestClass", RecordingProc); }
    void SetUp() override { seen.clear(); }
};

TEST_F(WindowTest, ClassRegistersOncePerNameWithoutRegardToCase) {
    EXPECT_TRUE(plat::RegisterWindowClass("ASYNC_MSG_HANDLER_TEST", RecordingProc));
    EXPECT_FALSE(plat::RegisterWindowClass("ASYNC_MSG_HANDLER_TEST", RecordingProc));
    EXPECT_FALSE(plat::RegisterWindowClass("async_msg_handler_test", nullptr));
    EXPECT_TRUE(plat::UnregisterWindowClass("Async_Msg_Handler_Test"));
    EXPECT_TRUE(plat::RegisterWindowClass("ASYNC_MSG_HANDLER_TEST", RecordingProc));
    EXPECT_TRUE(plat::UnregisterWindowClass("ASYNC_MSG_HANDLER_TEST"));
    EXPECT_FALSE(plat::UnregisterWindowClass("ASYNC_MSG_HANDLER_TEST"));
    EXPECT_FALSE(plat::RegisterWindowClass("", RecordingProc));
    EXPECT_FALSE(plat::RegisterWindowClass("two\nlines", RecordingProc));
}

TEST_F(WindowTest, WindowsLiveUntilDestroyedAndAreFoundByClassAndTitle) {
    EXPECT_EQ(plat::CreateWindow("NoSuchClass", "CPH"), 0u);
    const plat::WindowHandle first = plat::CreateWindow("WindowTestClass", "CPH");
    const plat::WindowHandle second = plat::CreateWindow("WindowTestClass", "CPH");
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_TRUE(plat::IsWindow(first));
    EXPECT_FALSE(plat::IsWindow(0));

    EXPECT_EQ(plat::FindWindow("windowtestclass", "cph"), second) << "the one made last";
    EXPECT_EQ(plat::FindWindow("WindowTestClass", "other"), 0u);
    EXPECT_EQ(plat::GetWindowText(first), "CPH");

    seen.clear();
    EXPECT_TRUE(plat::DestroyWindow(second));
    EXPECT_EQ(seen, std::vector<std::uint32_t>{plat::kWmDestroy});
    EXPECT_FALSE(plat::IsWindow(second));
    EXPECT_FALSE(plat::DestroyWindow(second));
    EXPECT_EQ(plat::FindWindow("WindowTestClass", "CPH"), first);

    EXPECT_EQ(plat::SendMessage(first, plat::kWmClose, 0, 0), 0);
    EXPECT_FALSE(plat::IsWindow(first));
    EXPECT_EQ(plat::FindWindow("WindowTestClass", "CPH"), 0u);
}

TEST_F(WindowTest, OnlyTheOwnerThreadDestroysAndItsWindowsEndWithIt) {
    plat::WindowHandle window = 0;
    std::thread owner([&] { window = plat::CreateWindow("WindowTestClass", "owned"); });
    owner.join();
    EXPECT_FALSE(plat::IsWindow(window)) << "the thread that made it has ended";

    const plat::WindowHandle mine = plat::CreateWindow("WindowTestClass", "mine");
    bool destroyedElsewhere = true;
    std::thread([&] { destroyedElsewhere = plat::DestroyWindow(mine); }).join();
    EXPECT_FALSE(destroyedElsewhere);
    EXPECT_TRUE(plat::DestroyWindow(mine));
}

TEST_F(WindowTest, DestroyDropsQueuedMessagesAndTimers) {
    const plat::WindowHandle window = plat::CreateWindow("WindowTestClass", "doomed");
    ASSERT_TRUE(plat::PostMessage(window, plat::kWmUser, 1, 2));
    ASSERT_EQ(plat::SetTimer(window, 5, 10, nullptr), 5u);
    ASSERT_TRUE(plat::DestroyWindow(window));
    EXPECT_FALSE(plat::PostMessage(window, plat::kWmUser, 1, 2));
    EXPECT_FALSE(plat::KillTimer(window, 5));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    plat::Message message;
    EXPECT_FALSE(plat::PeekMessage(message, true));
}

TEST(WindowHandleText, SignedDecimalRoundTrip) {
    const struct {
        plat::WindowHandle handle;
        const char* text;
    } cases[] = {{1, "1"}, {0x7FFFFFFF, "2147483647"}, {0x80000000, "-2147483648"}, {0xFFFFFFFF, "-1"}};
    for (const auto& c : cases) {
        EXPECT_EQ(plat::WindowHandleToText(c.handle), c.text);
        EXPECT_EQ(plat::WindowHandleFromText(c.text), c.handle) << c.text;
    }
    EXPECT_EQ(plat::WindowHandleFromText("4294967295"), 0xFFFFFFFFu);
    for (const char* bad : {"", "12x", "x", "4294967296", "-2147483649", " 5"}) {
        EXPECT_EQ(plat::WindowHandleFromText(bad), 0u) << bad;
    }

    plat::RegisterWindowClass("WindowTestClass", RecordingProc);
    const plat::WindowHandle window = plat::CreateWindow("WindowTestClass", "by number");
    EXPECT_EQ(plat::WindowHandleFromText(plat::WindowHandleToText(window)), window);
    EXPECT_TRUE(plat::IsWindow(plat::WindowHandleFromText(plat::WindowHandleToText(window))));
    plat::DestroyWindow(window);
}

}  // namespace
