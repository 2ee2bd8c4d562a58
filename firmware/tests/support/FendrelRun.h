#pragma once

#include <cstdint>
#include <string>

#include "firmware/tests/support/ChildProcess.h"
#include "platform/window/Window.h"

namespace fendreltest {

// One run of the fendrel program as the console drives it.
class FendrelRun {
  public:
    // Starts it with "TLX" and the console window, and waits for its window to be found (bounded for a
    // loaded machine); false when it ended first or was not found in time, and Failure() says which.
    bool Start(plat::WindowHandle consoleWindow);
    const std::string& Failure() const { return failure_; }
    // WM_TFTP_START with the window that receives the events from now on.
    void Serve(plat::WindowHandle consoleWindow);
    void Stop();
    // WM_TFTP_RELEASE and the close message, as the console sends them; the exit code, or -1 when it
    // did not end within timeoutMs (by default a bound for a loaded machine).
    int Release(int timeoutMs = 60000);

    plat::WindowHandle Window() const { return window_; }
    ChildProcess& Process() { return process_; }

  private:
    ChildProcess process_;
    plat::WindowHandle window_ = 0;
    std::string failure_;
};

}  // namespace fendreltest
