// At shut-down the release messages go only to the firmware server's own window.
#include <gtest/gtest.h>

#include "console/core/FirmwareServerWindow.h"
#include "platform/window/Window.h"

namespace console {
namespace {

int gMessages = 0;

plat::LResult Counting(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                       plat::LParam lParam) {
    gMessages += message == 1026 || message == plat::kWmClose ? 1 : 0;
    return plat::DefWindowProc(window, message, wParam, lParam);
}

TEST(FirmwareServerWindowTest, AWindowOfTheSameClassAndTitleInThisProcessIsNotTheServers) {
    ASSERT_TRUE(plat::RegisterWindowClass("ASYNC_MSG_HANDLER", Counting));
    const plat::WindowHandle own = plat::CreateWindow("ASYNC_MSG_HANDLER", "CPH");
    ASSERT_NE(own, 0u);
    EXPECT_FALSE(IsFirmwareServerWindow(own));
    ReleaseFirmwareServer(own);
    EXPECT_EQ(gMessages, 0);
    EXPECT_TRUE(plat::IsWindow(own));
    plat::DestroyWindow(own);
    EXPECT_FALSE(IsFirmwareServerWindow(own)) << "a stale handle";
    EXPECT_FALSE(IsFirmwareServerWindow(0));
    EXPECT_EQ(StoredFirmwareWindow(), 0u);
    plat::UnregisterWindowClass("ASYNC_MSG_HANDLER");
}

}  // namespace
}  // namespace console
