#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "platform/lan/LinkStation.h"
#include "platform/lan/SapPort.h"
#include "simulator/JobBook.h"

namespace sim {

inline constexpr uint8_t JobSap = 8;

// A card's job listener over 802.2: its SAP 8 accepts link stations, one per job, and reads the job
// stream from their I-frames. Runs on the segment's engine thread; made and destroyed under
// plat::LanLock().
class DlcJobPort final : private plat::SapPort::Handler {
  public:
    static std::unique_ptr<DlcJobPort> Open(size_t card, const plat::HardwareAddress& station, JobBook& book,
                                            const JobKeeping& keeping, std::string& error);
    ~DlcJobPort();

  private:
    class Session;
    using Key = std::pair<plat::HardwareAddress, uint8_t>;

    DlcJobPort(size_t card, JobBook& book, JobKeeping keeping);
    void OnUiFrame(const plat::HardwareAddress&, uint8_t, std::span<const uint8_t>) override {}
    void OnConnectRequest(const plat::HardwareAddress& source, uint8_t sourceSap) override;
    // Runs `action` on the session later on the engine thread, unless the session or the port has
    // gone by then.
    void Later(uint64_t session, uint32_t milliseconds, std::function<void(Session&)> action);
    void Finish(uint64_t session);

    size_t card_;
    JobBook& book_;
    JobKeeping keeping_;
    std::unique_ptr<plat::SapPort> sap_;
    std::map<uint64_t, std::unique_ptr<Session>> sessions_;
    uint64_t nextSession_ = 1;
    std::set<uint64_t> timers_;
};

}  // namespace sim
