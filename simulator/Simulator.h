#pragma once

#include <poll.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "simulator/Card.h"
#include "simulator/CardLanPorts.h"
#include "simulator/UdpAgentPort.h"

namespace sim {

struct SimulatorOptions {
    uint16_t snmpPort = 161;
    std::chrono::milliseconds restart{1500};  // a card's silence after it took new firmware
};

// How a card's firmware download goes wrong on its way.
struct UpgradeFaults {
    double lossRate = 0;        // share of the download's datagrams lost in each direction
    bool dropsLastAck = false;  // the card installs the file, but its last acknowledgement is lost
    int vanishAfter = 0;        // when not 0: the card acknowledges this many blocks, then goes silent
};

// Many print server cards in one process, answering over UDP and, when a simulated LAN segment is
// configured (VORLANE_LAN), over IPX (with service advertising) and DLC, on a thread of their own.
// Every public operation may be called from any thread.
class Simulator {
  public:
    explicit Simulator(SimulatorOptions options = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Cards are added before Start; the index names the card from then on.
    size_t AddCard(const CardDescription& description);
    // Opens the ports and starts answering; false with the reason when a port cannot be had.
    bool Start(std::string& error);
    void Stop();

    size_t CardCount() const;
    // A card by its name or by its hardware address as 12 hexadecimal digits.
    std::optional<size_t> FindCard(std::string_view key) const;

    // A change of the printer's status sends the status traps.
    void SetStatus(size_t card, int32_t status);
    void SetFaults(size_t card, Protocol protocol, const FaultSwitches& faults);
    FaultSwitches Faults(size_t card, Protocol protocol) const;
    // Runs `visit` on the card while no request is being handled.
    void Inspect(size_t card, const std::function<void(Card&)>& visit);

    // Starts the card's firmware download from its download objects, as its front panel does;
    // false while one is under way. A set of the card's start object does the same.
    bool StartUpgrade(size_t card);
    // How the card's next firmware downloads go wrong.
    void SetUpgradeFaults(size_t card, const UpgradeFaults& faults);

  private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        size_t card;
        Outgoing out;
        bool fromServiceSocket;
    };
    // What the loop polls besides its wake-up and UDP descriptors.
    struct LanSource {
        size_t card;
        bool service;
    };

    bool OpenLan(std::string& error);
    void Run();
    void Wake();
    void HandleUdp();
    std::optional<size_t> CardAt(const Ipv4& address);
    void HandleIpx(const LanSource& source);
    void HandleFrames();
    void Answer(size_t card, const std::vector<uint8_t>& request, const Peer& from);
    void Queue(size_t card, Outgoing out, bool fromServiceSocket = false);
    void SendDue();
    void Send(size_t card, Outgoing out, bool fromServiceSocket);
    void SendUdp();
    int MillisecondsToNextSend();
    bool BeginUpgrade(size_t card, const UpgradeOrder& order);
    void FetchFirmware(size_t card, const UpgradeOrder& order, std::string source, UpgradeFaults faults);

    SimulatorOptions options_;
    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<Card>> cards_;
    // The card of each IPv4 address, made again whenever it proves stale (a set moved a card).
    std::unordered_map<uint32_t, size_t> byAddress_;
    std::multimap<Clock::time_point, Pending> pending_;
    std::unique_ptr<UdpAgentPort> udp_;
    std::vector<std::unique_ptr<CardLanPorts>> lan_;  // one per card while running
    std::vector<pollfd> lanFds_;
    std::vector<LanSource> lanSources_;
    std::mutex framesMutex_;  // the segment's thread hands DLC frames over under it alone
    std::deque<std::pair<size_t, LanDatagram>> frames_;
    int wakeFd_ = -1;
    bool running_ = false;
    std::thread thread_;
    // The UDP datagrams to send, in order, from their card's address: a thread of their own sends
    // them, so that the loop does not spend half its time waking each asker in the send.
    std::mutex udpOutMutex_;
    std::condition_variable udpOutReady_;
    std::deque<std::pair<Ipv4, Outgoing>> udpOut_;
    bool udpOutStop_ = false;
    std::thread udpSender_;
    std::vector<UpgradeFaults> upgradeFaults_;
    std::atomic<bool> stopping_{false};
    std::vector<std::thread> downloads_;
};

}  // namespace sim
