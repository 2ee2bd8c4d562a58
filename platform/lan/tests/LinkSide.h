#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "platform/lan/LinkStation.h"
#include "platform/lan/SapPort.h"

namespace plat::test {

// One side of a link station test: a SAP whose link stations (accepted or opened) report into one
// record.
class LinkSide final : public SapPort::Handler, public LinkStation::Listener {
  public:
    LinkSide(const HardwareAddress& station, std::uint8_t sap, bool acceptsLinks)
        : acceptsLinks_(acceptsLinks) {
        std::lock_guard guard(LanLock());
        int error = 0;
        port = SapPort::Open(station, sap, *this, error);
    }
    ~LinkSide() {
        std::lock_guard guard(LanLock());
        link.reset();
        port.reset();
    }

    void OnUiFrame(const HardwareAddress& source, std::uint8_t sourceSap,
                   std::span<const std::uint8_t> data) override {
        Record([&] { uiFrames.emplace_back(data.begin(), data.end()); });
    }
    void OnConnectRequest(const HardwareAddress& source, std::uint8_t sourceSap) override {
        if (!acceptsLinks_) {
            return;
        }
        int error = 0;
        link = LinkStation::Open(*port, source, sourceSap, 7, *this, error);
        link->Accept();
    }
    bool OnData(std::vector<std::uint8_t>& data) override {
        if (busy) {
            return false;
        }
        Record([&] { received.push_back(data); });
        return true;
    }
    void OnAcknowledged(std::size_t count) override {
        Record([&] { acknowledged += count; });
    }
    void OnEvent(ReliableLink::Event event) override {
        Record([&] { events.push_back(event); });
    }

    void Connect(const HardwareAddress& remote, std::uint8_t remoteSap) {
        std::lock_guard guard(LanLock());
        int error = 0;
        link = LinkStation::Open(*port, remote, remoteSap, 7, *this, error);
        link->Connect();
    }
    void Send(std::vector<std::uint8_t> data) {
        std::lock_guard guard(LanLock());
        ASSERT_EQ(link->Send(std::move(data)), 0);
    }
    // Until `condition` holds; the bound is for a loaded machine.
    bool WaitFor(std::function<bool()> condition) {
        std::unique_lock guard(lock_);
        return changed_.wait_for(guard, std::chrono::seconds(60), condition);
    }
    bool Saw(ReliableLink::Event event) {
        return WaitFor([&] { return std::find(events.begin(), events.end(), event) != events.end(); });
    }

    std::unique_ptr<SapPort> port;
    std::unique_ptr<LinkStation> link;
    bool busy = false;  // under LanLock
    std::vector<std::vector<std::uint8_t>> uiFrames;
    std::vector<std::vector<std::uint8_t>> received;
    std::size_t acknowledged = 0;
    std::vector<ReliableLink::Event> events;

  private:
    template <class Change>
    void Record(Change change) {
        std::lock_guard guard(lock_);
        change();
        changed_.notify_all();
    }

    bool acceptsLinks_;
    std::mutex lock_;
    std::condition_variable changed_;
};

}  // namespace plat::test
