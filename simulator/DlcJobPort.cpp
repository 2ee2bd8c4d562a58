#include "simulator/DlcJobPort.h"

#include <algorithm>
#include <cstring>

#include "platform/lan/LanEngine.h"

namespace sim {

// One job's link station.
class DlcJobPort::Session final : public plat::LinkStation::Listener {
  public:
    Session(DlcJobPort& port, uint64_t id, Key key)
        : port_(port), id_(id), key_(std::move(key)), decoder_("dlc", port.keeping_) {
        faults_ = port_.book_.Faults(port_.card_);
    }

    bool Open() {
        int error = 0;
        station_ = plat::LinkStation::Open(*port_.sap_, key_.first, key_.second, 7, *this, error);
        if (!station_) {
            return false;
        }
        station_->Accept();
        return true;
    }

    void SendByte(uint8_t byte) {
        if (station_) {
            station_->Send({byte});
        }
    }

    bool OnData(std::vector<uint8_t>& data) override {
        if (resetting_) {
            return false;
        }
        if (faults_.receiverBusyMs != 0 && !busyShown_) {
            busyShown_ = true;
            port_.Later(id_, faults_.receiverBusyMs,
                        [](Session& session) { session.station_->SetLocalBusy(false); });
            return false;
        }
        const size_t take = faults_.TakenOf(data.size(), received_);
        received_ += take;
        decoder_.Feed(std::span(data.data(), take));
        // A drop, of either kind, ends the link station.
        if (faults_.DropsAt(received_)) {
            resetting_ = true;
            port_.Later(id_, 0, [](Session& session) { session.port_.Finish(session.id_); });
        } else if (decoder_.Ended() && !answered_ && !faults_.noAnswer) {
            answered_ = true;
            SendByte(JobAnswerByte);
        }
        return true;
    }

    void OnAcknowledged(size_t) override {}

    void OnEvent(plat::ReliableLink::Event event) override {
        using Event = plat::ReliableLink::Event;
        if (event == Event::PeerDisconnected || event == Event::PeerReset || event == Event::Lost ||
            event == Event::Closed) {
            port_.Later(id_, 0, [](Session& session) { session.port_.Finish(session.id_); });
        }
    }

    // The job as far as it came, once the link is over.
    void LogJob() {
        if (decoder_.Started()) {
            port_.book_.Log(port_.card_, decoder_.Job());
        }
    }

    const Key& GetKey() const { return key_; }

  private:
    DlcJobPort& port_;
    uint64_t id_;
    Key key_;
    JobStreamDecoder decoder_;
    JobFaults faults_;
    std::unique_ptr<plat::LinkStation> station_;
    uint64_t received_ = 0;
    bool busyShown_ = false;
    bool resetting_ = false;
    bool answered_ = false;
};

DlcJobPort::DlcJobPort(size_t card, JobBook& book, JobKeeping keeping)
    : card_(card), book_(book), keeping_(std::move(keeping)) {}

std::unique_ptr<DlcJobPort> DlcJobPort::Open(size_t card, const plat::HardwareAddress& station, JobBook& book,
                                             const JobKeeping& keeping, std::string& error) {
    std::unique_ptr<DlcJobPort> port(new DlcJobPort(card, book, keeping));
    int failure = 0;
    port->sap_ = plat::SapPort::Open(station, JobSap, *port, failure);
    if (!port->sap_) {
        error = "job SAP of " + station.Hex() + ": " + std::strerror(failure);
        return nullptr;
    }
    return port;
}

DlcJobPort::~DlcJobPort() {
    for (uint64_t timer : timers_) {
        plat::LanEngine::Get().Cancel(timer);
    }
    sessions_.clear();
    sap_.reset();
}

void DlcJobPort::OnConnectRequest(const plat::HardwareAddress& source, uint8_t sourceSap) {
    const Key key{source, sourceSap};
    const bool known = std::any_of(sessions_.begin(), sessions_.end(),
                                   [&](const auto& entry) { return entry.second->GetKey() == key; });
    if (book_.Faults(card_).refuseConnects || known) {
        return;
    }
    book_.NoteConnection(card_);
    const uint64_t id = nextSession_++;
    auto session = std::make_unique<Session>(*this, id, key);
    if (!session->Open()) {
        return;
    }
    Session& opened = *sessions_.emplace(id, std::move(session)).first->second;
    if (book_.TakeBusy(card_)) {
        opened.SendByte(JobBusyByte);
        return;
    }
    Later(id, book_.Faults(card_).readyDelayMs, [](Session& ready) { ready.SendByte(JobReadyByte); });
}

void DlcJobPort::Later(uint64_t session, uint32_t milliseconds, std::function<void(Session&)> action) {
    auto timer = std::make_shared<uint64_t>(0);
    *timer = plat::LanEngine::Get().After(milliseconds, [this, session, timer, action = std::move(action)] {
        timers_.erase(*timer);
        auto found = sessions_.find(session);
        if (found != sessions_.end()) {
            action(*found->second);
        }
    });
    timers_.insert(*timer);
}

void DlcJobPort::Finish(uint64_t session) {
    auto found = sessions_.find(session);
    if (found != sessions_.end()) {
        found->second->LogJob();
        sessions_.erase(found);
    }
}

}  // namespace sim
