#pragma once

#include <future>
#include <string>
#include <thread>

#include "platform/window/Window.h"

namespace windowtest {

// A thread that makes one window of `className` and runs a message loop for it until the window is
// closed (the class's procedure posts the quit on kWmDestroy).
class WindowThread {
  public:
    explicit WindowThread(const std::string& className) {
        std::promise<plat::WindowHandle> made;
        window_ = 0;
        auto future = made.get_future();
        thread_ = std::thread([&made, className] {
            made.set_value(plat::CreateWindow(className, "thread window"));
            plat::Message message;
            while (plat::GetMessage(message)) {
                plat::DispatchMessage(message);
            }
        });
        window_ = future.get();
    }
    ~WindowThread() {
        plat::PostMessage(window_, plat::kWmClose, 0, 0);
        thread_.join();
    }

    plat::WindowHandle Window() const { return window_; }

  private:
    plat::WindowHandle window_;
    std::thread thread_;
};

}  // namespace windowtest
