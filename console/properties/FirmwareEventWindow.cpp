#include "console/properties/FirmwareEventWindow.h"

#include <map>

#include "firmware/FirmwareMessages.h"

namespace console {

namespace {

constexpr const char* kEventWindowClass = "QUILLMAR_TFTP_EVENTS";

// The windows live on the console's one thread, which alone runs their procedure.
std::map<plat::WindowHandle, FirmwareEventWindow::Handler*>& Handlers() {
    static std::map<plat::WindowHandle, FirmwareEventWindow::Handler*> handlers;
    return handlers;
}

}  // namespace

FirmwareEventWindow::FirmwareEventWindow(Handler handler) : handler_(std::move(handler)) {
    plat::RegisterWindowClass(kEventWindowClass, Procedure);  // false once registered, which is fine
    window_ = plat::CreateWindow(kEventWindowClass, "");
    Handlers()[window_] = &handler_;
}

FirmwareEventWindow::~FirmwareEventWindow() {
    Handlers().erase(window_);
    plat::DestroyWindow(window_);
}

plat::LResult FirmwareEventWindow::Procedure(plat::WindowHandle window, std::uint32_t message,
                                             plat::WParam wParam, plat::LParam lParam) {
    if (message != kTftpEventMessage) {
        return plat::DefWindowProc(window, message, wParam, lParam);
    }
    const auto handler = Handlers().find(window);
    if (handler != Handlers().end() && *handler->second) {
        (*handler->second)(TftpEventOf(lParam), TftpPercentageOf(lParam));
    }
    return 0;
}

}  // namespace console
