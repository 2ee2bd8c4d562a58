#include "transport/DatagramTransport.h"

#include <algorithm>

DatagramTransport::DatagramTransport(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                                     plat::WindowProc windowProcedure, ModuleInstance)
    // Every send and receive makes at least one attempt.
    : retries_(std::max(retries, 1)),
      timeOutSeconds_(std::max(timeOutSeconds, 0)),
      flags_(flags),
      windowProcedure_(windowProcedure) {}

DatagramTransport::~DatagramTransport() {
    DestroyNotifyWindow();
}

void DatagramTransport::CreateNotifyWindow(const char* className, const char* title) {
    if (windowProcedure_ == nullptr || !plat::RegisterWindowClass(className, windowProcedure_)) {
        return;
    }
    window_ = plat::CreateWindow(className, title);
}

void DatagramTransport::DestroyNotifyWindow() {
    if (window_ != 0) {
        plat::DestroyWindow(window_);
        window_ = 0;
    }
}
