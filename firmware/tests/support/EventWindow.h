#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/window/Window.h"

namespace fendreltest {

// The console's side of the events: a window on a thread of its own that pumps messages and keeps
// every event (the second parameter of each left-button-down message) it gets.
class EventWindow {
  public:
    EventWindow();
    EventWindow(const EventWindow&) = delete;
    EventWindow& operator=(const EventWindow&) = delete;
    ~EventWindow();

    plat::WindowHandle Handle() const { return window_; }
    std::vector<plat::LParam> Events();
    void Clear();
    // Runs on the window's thread for each event, while the server waits for the event's answer.
    void SetEventHook(std::function<void(plat::LParam)> hook);
    // Waits until an event with this code has come; false after timeoutMs.
    bool WaitFor(std::uint16_t event, int timeoutMs);

  private:
    static plat::LResult Procedure(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                                   plat::LParam lParam);
    void Run();

    static EventWindow* current_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<plat::LParam> events_;
    std::function<void(plat::LParam)> hook_;
    bool ready_ = false;  // the thread has made its window, or failed to
    std::atomic<plat::WindowHandle> window_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace fendreltest
