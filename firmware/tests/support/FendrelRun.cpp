#include "firmware/tests/support/FendrelRun.h"

#include <chrono>
#include <string>
#include <thread>

#include "firmware/FirmwareMessages.h"

namespace fendreltest {

bool FendrelRun::Start(plat::WindowHandle consoleWindow, int timeoutMs) {
    const std::string handle = std::to_string(static_cast<std::int32_t>(consoleWindow));
    if (!process_.Start(FENDREL_PROGRAM, {"TLX", handle})) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while ((window_ = plat::FindWindow("ASYNC_MSG_HANDLER", "CPH")) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return window_ != 0;
}

void FendrelRun::Serve(plat::WindowHandle consoleWindow) {
    plat::SendMessage(window_, WM_TFTP_START, consoleWindow, 0);
}

void FendrelRun::Stop() {
    plat::SendMessage(window_, WM_TFTP_STOP, 0, 0);
}

int FendrelRun::Release(int timeoutMs) {
    plat::SendMessage(window_, WM_TFTP_RELEASE, 0, 0);
    plat::SendMessage(window_, plat::kWmClose, 0, 0);
    return process_.WaitForExit(timeoutMs);
}

}  // namespace fendreltest
