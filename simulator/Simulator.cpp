#include "simulator/Simulator.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <shared_mutex>

#include "platform/lan/LanSettings.h"
#include "simulator/CardValueText.h"
#include "simulator/DescriptorLimit.h"
#include "simulator/ServiceAdvertising.h"
#include "simulator/SnmpAgent.h"
#include "simulator/StatusTraps.h"
#include "simulator/TftpClient.h"

namespace sim {

namespace {

// Threads that take UDP requests off the socket, answer and send the answers, side by side: a
// status poll of 10,000 cards keeps them busy, and one of them alone made the console wait.
constexpr int kUdpServers = 4;
// Longer than the firmware server's usual resend wait, so that a resent last block is heard.
constexpr int kFirmwareLingerMs = 3000;

}  // namespace

Simulator::Simulator(SimulatorOptions options) : options_(options) {}

Simulator::~Simulator() {
    Stop();
}

size_t Simulator::AddCard(const CardDescription& description) {
    std::lock_guard lock(mutex_);
    cards_.push_back(std::make_unique<Card>(description));
    upgradeFaults_.emplace_back();
    return cards_.size() - 1;
}

bool Simulator::Start(std::string& error) {
    std::lock_guard lock(mutex_);
    if (running_) {
        return true;
    }
    RaiseDescriptorLimit();
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    udp_ = UdpAgentPort::Open(options_.snmpPort, error);
    if (!udp_ || !OpenLan(error)) {
        udp_.reset();
        lan_.clear();
        lanFds_.clear();
        lanSources_.clear();
        close(wakeFd_);
        wakeFd_ = -1;
        return false;
    }
    std::vector<bool> speaksIp;
    for (const auto& card : cards_) {
        speaksIp.push_back(card->Speaks(Protocol::Ip));
    }
    addresses_.Reset(speaksIp);
    for (size_t i = 0; i < cards_.size(); ++i) {
        addresses_.Update(i, cards_[i]->Address());
    }
    running_ = true;
    udpStop_ = false;
    thread_ = std::thread([this] { Run(); });
    for (int i = 0; i < kUdpServers; ++i) {
        udpServers_.emplace_back([this] { ServeUdp(); });
    }
    return true;
}

// The threads that may start a download stop before the downloads are ended.
void Simulator::Stop() {
    bool wasRunning = false;
    {
        std::lock_guard lock(mutex_);
        wasRunning = running_;
        running_ = false;
    }
    if (wasRunning) {
        udpStop_ = true;
        udp_->Shut();
        for (std::thread& server : udpServers_) {
            server.join();
        }
        udpServers_.clear();
        Wake();
        thread_.join();
    }
    stopping_ = true;
    for (std::thread& download : downloads_) {
        download.join();
    }
    downloads_.clear();
    stopping_ = false;
    if (!wasRunning) {
        return;
    }
    lan_.clear();  // no frame comes in after this
    std::lock_guard lock(mutex_);
    lanFds_.clear();
    lanSources_.clear();
    frames_.clear();
    close(wakeFd_);
    wakeFd_ = -1;
    udp_.reset();
    std::lock_guard pending(pendingMutex_);
    pending_.clear();
}

size_t Simulator::CardCount() const {
    std::lock_guard lock(mutex_);
    return cards_.size();
}

std::optional<size_t> Simulator::FindCard(std::string_view key) const {
    std::optional<Mac> mac = ParseMac(key);
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < cards_.size(); ++i) {
        const CardDescription& card = cards_[i]->Description();
        if (card.name == key || card.mac == mac) {
            return i;
        }
    }
    return std::nullopt;
}

void Simulator::SetStatus(size_t card, int32_t status) {
    std::lock_guard lock(mutex_);
    if (cards_.at(card)->SetPrinterStatus(status)) {
        for (Outgoing& trap : StatusTraps(*cards_[card])) {
            Queue(card, std::move(trap));
        }
    }
}

void Simulator::SetFaults(size_t card, Protocol protocol, const FaultSwitches& faults) {
    std::lock_guard lock(mutex_);
    cards_.at(card)->Faults(protocol).Set(faults);
}

FaultSwitches Simulator::Faults(size_t card, Protocol protocol) const {
    std::lock_guard lock(mutex_);
    return cards_.at(card)->Faults(protocol).Switches();
}

void Simulator::Inspect(size_t card, const std::function<void(Card&)>& visit) {
    std::lock_guard lock(mutex_);
    visit(*cards_.at(card));
    if (running_) {
        addresses_.Update(card, cards_[card]->Address());
    }
}

void Simulator::Wake() {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(wakeFd_, &one, sizeof one);
}

// Called with the lock held, before the loop starts.
bool Simulator::OpenLan(std::string& error) {
    if (!plat::LanConfigured()) {
        return true;
    }
    lan_.resize(cards_.size());
    for (size_t i = 0; i < cards_.size(); ++i) {
        const CardDescription& card = cards_[i]->Description();
        if (!cards_[i]->Speaks(Protocol::Ipx) && !cards_[i]->Speaks(Protocol::Dlc)) {
            continue;
        }
        auto onFrame = [this, i](LanDatagram frame) {
            std::lock_guard lock(framesMutex_);
            frames_.emplace_back(i, std::move(frame));
            Wake();
        };
        lan_[i] = CardLanPorts::Open(card, onFrame, error);
        if (!lan_[i]) {
            return false;
        }
        for (bool service : {false, true}) {
            int fd = service ? lan_[i]->ServiceFd() : lan_[i]->SnmpFd();
            if (fd >= 0) {
                lanFds_.push_back({fd, POLLIN, 0});
                lanSources_.push_back({i, service});
            }
        }
    }
    return true;
}

// Called with the lock held; the loop sends it when it is due.
// The loop sends what is due before it waits again; only another thread needs to wake it. (A wake
// for every answer the loop made itself cost two more system calls and a turn of the loop.)
void Simulator::Queue(size_t card, Outgoing out, bool fromServiceSocket) {
    Clock::time_point due = Clock::now() + std::chrono::milliseconds(out.delayMs);
    {
        std::lock_guard pending(pendingMutex_);
        pending_.emplace(due, Pending{card, std::move(out), fromServiceSocket});
    }
    if (running_ && std::this_thread::get_id() != thread_.get_id()) {
        Wake();
    }
}

void Simulator::Send(size_t card, Outgoing out, bool fromServiceSocket) {
    if (out.to.protocol == Protocol::Ip) {
        udp_->Send(cards_[card]->Address(), out.to, out.bytes);
    } else if (card < lan_.size() && lan_[card]) {
        if (fromServiceSocket) {
            lan_[card]->SendFromServiceSocket(out.to, out.bytes);
        } else {
            lan_[card]->Send(out.to, out.bytes);
        }
    }
}

void Simulator::SendDue() {
    Clock::time_point now = Clock::now();
    for (;;) {
        std::unique_lock lock(pendingMutex_);
        if (pending_.empty() || pending_.begin()->first > now) {
            return;
        }
        Pending pending = std::move(pending_.begin()->second);
        pending_.erase(pending_.begin());
        lock.unlock();
        Send(pending.card, std::move(pending.out), pending.fromServiceSocket);
    }
}

int Simulator::MillisecondsToNextSend() {
    std::lock_guard lock(pendingMutex_);
    if (pending_.empty()) {
        return -1;
    }
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(pending_.begin()->first - Clock::now());
    return static_cast<int>(std::max<int64_t>(0, wait.count()));
}

// One of the UDP threads, until the port is shut: each request is taken, answered and its answers
// sent by the thread that took it. A request is answered under the shared lock and the lock of its
// card, so that requests to different cards go side by side; a broadcast is answered by every card.
void Simulator::ServeUdp() {
    for (;;) {
        std::optional<UdpDatagram> datagram = udp_->Receive();
        if (udpStop_) {
            return;
        }
        if (!datagram) {
            continue;
        }
        if (!IsBroadcast(datagram->destination)) {
            if (std::optional<size_t> card = addresses_.Owner(datagram->destination)) {
                AnswerUdp(*card, *datagram);
            }
            continue;
        }
        for (size_t i = 0; i < cards_.size(); ++i) {
            if (cards_[i]->Speaks(Protocol::Ip)) {
                AnswerUdp(i, *datagram);
            }
        }
    }
}

// The send, which wakes the asker, holds no lock.
void Simulator::AnswerUdp(size_t card, const UdpDatagram& datagram) {
    std::optional<Outgoing> answer;
    {
        std::shared_lock lock(mutex_);
        std::lock_guard cardLock(cardLocks_[card % cardLocks_.size()]);
        answer = Answer(card, datagram.bytes, datagram.from);
    }
    if (answer) {
        udp_->Send(addresses_.Of(card), answer->to, answer->bytes);
    }
}

// Called with the card locked: with the lock held, or with the shared lock and the card's own. The
// answer that is due at once comes back to be sent; one that a fault delays waits in the queue.
std::optional<Outgoing> Simulator::Answer(size_t card, const std::vector<uint8_t>& request,
                                          const Peer& from) {
    if (cards_[card]->Upgrade().Restarting()) {
        return std::nullopt;
    }
    std::optional<Outgoing> answer = AnswerRequest(*cards_[card], request, from);
    addresses_.Update(card, cards_[card]->Address());  // a set may have moved it
    if (std::optional<UpgradeOrder> order = cards_[card]->TakeUpgradeOrder()) {
        BeginUpgrade(card, *order);
    }
    if (answer && answer->delayMs > 0) {
        Queue(card, std::move(*answer));
        return std::nullopt;
    }
    return answer;
}

// Called with the lock held: the LAN's answers leave through the loop's queue.
void Simulator::AnswerOnLan(size_t card, const std::vector<uint8_t>& request, const Peer& from) {
    if (std::optional<Outgoing> answer = Answer(card, request, from)) {
        Queue(card, std::move(*answer));
    }
}

bool Simulator::StartUpgrade(size_t card) {
    std::lock_guard lock(mutex_);
    return BeginUpgrade(card, cards_[card]->DownloadObjects());
}

void Simulator::SetUpgradeFaults(size_t card, const UpgradeFaults& faults) {
    std::lock_guard lock(mutex_);
    upgradeFaults_[card] = faults;
}

// Called with the card locked (see Answer). The fetch runs on a thread of its own, from the card's
// address.
bool Simulator::BeginUpgrade(size_t card, const UpgradeOrder& order) {
    if (!cards_[card]->Upgrade().Begin()) {
        return false;
    }
    std::lock_guard lock(downloadsMutex_);
    downloads_.emplace_back(&Simulator::FetchFirmware, this, card, order, Ipv4Text(cards_[card]->Address()),
                            upgradeFaults_[card]);
    return true;
}

void Simulator::FetchFirmware(size_t card, const UpgradeOrder& order, std::string source,
                              UpgradeFaults faults) {
    TftpClientOptions options;
    options.server = Ipv4Text(order.server);
    options.source = std::move(source);
    options.lossRate = faults.lossRate;
    options.dropsLastAck = faults.dropsLastAck;
    options.vanishAfter = faults.vanishAfter;
    options.seed = static_cast<unsigned>(card + 1);
    options.waitMs = 200;
    options.attempts = 25;
    options.cancel = &stopping_;
    // The card installs the file at once and then stays to acknowledge the last block again: when its
    // last acknowledgement is lost, the server's resend must still hear that the transfer ended.
    options.lingerMs = kFirmwareLingerMs;
    options.onDone = [this, card](const std::vector<std::uint8_t>& data) {
        std::lock_guard lock(mutex_);
        cards_[card]->InstallFirmware(data, options_.restart);
    };
    TftpClientResult result = TftpGet(order.file, options);
    if (!result.ok) {
        std::lock_guard lock(mutex_);
        cards_[card]->Upgrade().Failed(result.errorMessage);
    }
}

void Simulator::HandleIpx(const LanSource& source) {
    CardLanPorts& ports = *lan_[source.card];
    while (std::optional<LanDatagram> datagram =
               source.service ? ports.ReceiveService() : ports.ReceiveSnmp()) {
        std::lock_guard lock(mutex_);
        Card& card = *cards_[source.card];
        if (!source.service) {
            AnswerOnLan(source.card, datagram->bytes, datagram->from);
            continue;
        }
        FaultState& faults = card.Faults(Protocol::Ipx);
        if (faults.Switches().silent || faults.TakeDrop()) {
            continue;
        }
        if (std::optional<std::vector<uint8_t>> reply = AnswerServiceQuery(card, datagram->bytes)) {
            Queue(source.card, Outgoing{datagram->from, std::move(*reply), faults.Switches().delayMs}, true);
        }
    }
}

void Simulator::HandleFrames() {
    std::deque<std::pair<size_t, LanDatagram>> frames;
    {
        std::lock_guard lock(framesMutex_);
        frames.swap(frames_);
    }
    std::lock_guard lock(mutex_);
    for (auto& [card, frame] : frames) {
        AnswerOnLan(card, frame.bytes, frame.from);
        SendDue();
    }
}

void Simulator::Run() {
    for (;;) {
        int timeout;
        {
            std::lock_guard lock(mutex_);
            if (!running_) {
                return;
            }
            SendDue();
            timeout = MillisecondsToNextSend();
        }
        std::vector<pollfd> fds{{wakeFd_, POLLIN, 0}};
        fds.insert(fds.end(), lanFds_.begin(), lanFds_.end());
        if (poll(fds.data(), fds.size(), timeout) < 0) {
            continue;
        }
        if (fds[0].revents & POLLIN) {
            uint64_t count = 0;
            [[maybe_unused]] ssize_t drained = read(wakeFd_, &count, sizeof count);
            HandleFrames();
        }
        for (size_t i = 0; i < lanSources_.size(); ++i) {
            if (fds[i + 1].revents & POLLIN) {
                HandleIpx(lanSources_[i]);
            }
        }
    }
}

}  // namespace sim
