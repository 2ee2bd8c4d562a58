#pragma once

#include <poll.h>

#include <array>
#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "simulator/Card.h"
#include "simulator/CardAddresses.h"
#include "simulator/CardLanPorts.h"
#include "simulator/UdpAgentPort.h"
#include "simulator/WriterFirstMutex.h"

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

// Many print server cards in one process, answering over UDP on threads of their own and, when a
// simulated LAN segment is configured (VORLANE_LAN), over IPX (with service advertising) and DLC on
// one more.
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
    void ServeUdp();
    void AnswerUdp(size_t card, const UdpDatagram& datagram);
    void HandleIpx(const LanSource& source);
    void HandleFrames();
    std::optional<Outgoing> Answer(size_t card, const std::vector<uint8_t>& request, const Peer& from);
    void AnswerOnLan(size_t card, const std::vector<uint8_t>& request, const Peer& from);
    void Queue(size_t card, Outgoing out, bool fromServiceSocket = false);
    void SendDue();
    void Send(size_t card, Outgoing out, bool fromServiceSocket);
    int MillisecondsToNextSend();
    bool BeginUpgrade(size_t card, const UpgradeOrder& order);
    void FetchFirmware(size_t card, const UpgradeOrder& order, std::string source, UpgradeFaults faults);

    SimulatorOptions options_;
    // Held by every operation; shared by the UDP threads, which also hold the lock of the card they
    // answer for (one of cardLocks_, by the card's index).
    mutable WriterFirstMutex mutex_;
    std::array<std::mutex, 64> cardLocks_;
    std::vector<std::unique_ptr<Card>> cards_;
    CardAddresses addresses_;
    std::mutex pendingMutex_;  // over pending_, which the UDP threads fill too
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
    std::vector<std::thread> udpServers_;
    std::atomic<bool> udpStop_{false};
    std::vector<UpgradeFaults> upgradeFaults_;
    std::atomic<bool> stopping_{false};
    std::mutex downloadsMutex_;
    std::vector<std::thread> downloads_;
};

}  // namespace sim
