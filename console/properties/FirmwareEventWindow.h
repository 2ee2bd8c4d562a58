#pragma once

#include <cstdint>
#include <functional>

#include "platform/window/Window.h"

namespace console {

// The upgrade dialog's window as the firmware server sees it: the server's events (left-button-down
// messages) reach the handler as the event code and the percentage, on the console's thread.
class FirmwareEventWindow {
  public:
    using Handler = std::function<void(std::uint16_t event, std::uint16_t percentage)>;

    explicit FirmwareEventWindow(Handler handler);
    ~FirmwareEventWindow();
    FirmwareEventWindow(const FirmwareEventWindow&) = delete;
    FirmwareEventWindow& operator=(const FirmwareEventWindow&) = delete;

    plat::WindowHandle Handle() const { return window_; }

  private:
    static plat::LResult Procedure(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                                   plat::LParam lParam);

    Handler handler_;
    plat::WindowHandle window_ = 0;
};

}  // namespace console
