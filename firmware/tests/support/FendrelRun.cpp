#include "firmware/tests/support/FendrelRun.h"

#include <chrono>
#include <string>
#include <thread>

#include "firmware/FirmwareMessages.h"

namespace fendreltest {

namespace {

// Its window comes within a second; the bound is for a loaded machine.
constexpr std::chrono::seconds kStartWait{60};

}  // namespace

bool FendrelRun::Start(plat::WindowHandle consoleWindow) {
    const std::string handle = std::to_string(static_cast<std::int32_t>(consoleWindow));
    if (!process_.Start(FENDREL_PROGRAM, {"TLX", handle})) {
        failure_ = "cannot start " FENDREL_PROGRAM;
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + kStartWait;
    while ((window_ = plat::FindWindow("ASYNC_MSG_HANDLER", "CPH")) == 0) {
        if (const int exitCode = process_.WaitForExit(0); exitCode != -1) {
            failure_ =
                "fendrel ended with exit code " + std::to_string(exitCode) + ": " + process_.ErrorOutput();
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            failure_ = "fendrel made no window in time: " + process_.ErrorOutput();
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
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
