#include "firmware/tests/support/EventWindow.h"

#include <chrono>

#include "firmware/FirmwareMessages.h"

namespace fendreltest {

EventWindow* EventWindow::current_ = nullptr;

EventWindow::EventWindow() {
    current_ = this;
    std::unique_lock lock(mutex_);
    thread_ = std::thread(&EventWindow::Run, this);
    changed_.wait(lock, [this] { return ready_; });
}

EventWindow::~EventWindow() {
    stop_ = true;
    thread_.join();
    current_ = nullptr;
}

void EventWindow::Run() {
    static const bool registered = plat::RegisterWindowClass("FendrelTestConsole", &Procedure);
    const plat::WindowHandle window = registered ? plat::CreateWindow("FendrelTestConsole", "events") : 0;
    {
        std::lock_guard lock(mutex_);
        window_ = window;
        ready_ = true;
    }
    changed_.notify_all();
    while (!stop_) {
        plat::PumpWaiting(20);
    }
    plat::DestroyWindow(window);
}

plat::LResult EventWindow::Procedure(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                                     plat::LParam lParam) {
    if (message == kTftpEventMessage && wParam == kTftpEventWParam && current_ != nullptr) {
        std::function<void(plat::LParam)> hook;
        {
            std::lock_guard lock(current_->mutex_);
            current_->events_.push_back(lParam);
            hook = current_->hook_;
        }
        current_->changed_.notify_all();
        if (hook) {
            hook(lParam);
        }
        return 0;
    }
    return plat::DefWindowProc(window, message, wParam, lParam);
}

std::vector<plat::LParam> EventWindow::Events() {
    std::lock_guard lock(mutex_);
    return events_;
}

void EventWindow::SetEventHook(std::function<void(plat::LParam)> hook) {
    std::lock_guard lock(mutex_);
    hook_ = std::move(hook);
}

void EventWindow::Clear() {
    std::lock_guard lock(mutex_);
    events_.clear();
}

bool EventWindow::WaitFor(std::uint16_t event, int timeoutMs) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        for (const plat::LParam lParam : events_) {
            if (TftpEventOf(lParam) == event) {
                return true;
            }
        }
        return false;
    });
}

}  // namespace fendreltest
