#include "portmonitor/CNPC.h"

#include <poll.h>

#include "portmonitor/DlcLink.h"
#include "portmonitor/JobPackets.h"
#include "portmonitor/MonitorLog.h"
#include "portmonitor/PortStore.h"
#include "portmonitor/SpxLink.h"
#include "portmonitor/TcpLink.h"
#include "transport/ProtocolMask.h"

namespace {

constexpr std::uint16_t kTcpJobPort = 2000;
constexpr std::uint16_t kSpxStatusSocket = 2001;
constexpr std::uint16_t kSpxJobSocket = 2000;
constexpr std::uint16_t kDlcJobSap = 8;
constexpr int kAttempts = 3;

// The next transport to try after `failed`, among those of the set not tried yet; 0 for none.
std::uint8_t NextTransport(std::uint8_t failed, std::uint8_t set, std::uint8_t tried) {
    static constexpr std::uint8_t kOrder[][2] = {
        {kProtocolDlc, kProtocolIp},   // after IPX
        {kProtocolDlc, kProtocolIpx},  // after IP
        {kProtocolIp, kProtocolIpx},   // after DLC
    };
    const int row = failed == kProtocolIpx ? 0 : failed == kProtocolIp ? 1 : failed == kProtocolDlc ? 2 : -1;
    if (row < 0) {
        return 0;
    }
    for (std::uint8_t next : kOrder[row]) {
        if ((set & next) != 0 && (tried & next) == 0) {
            return next;
        }
    }
    return 0;
}

std::string Text(const std::optional<std::string>& text) {
    return text.value_or("");
}

}  // namespace

CNPC::CNPC(const ServerRecord& record, std::string portName, const MonitorSettings& settings)
    : name_(Text(record.name)),
      description_(Text(record.description)),
      mac_(Text(record.mac)),
      ip_(Text(record.ip)),
      ipx_(Text(record.ipx)),
      dnsName_(Text(record.dnsName)),
      protocols_(static_cast<std::uint8_t>(record.cProtocols & 7)),
      portName_(std::move(portName)),
      settings_(settings) {
    if (!DlcLink::Available()) {
        LogWrite("CNPC:DLC not available.\n");
        protocols_ &= static_cast<std::uint8_t>(~kProtocolDlc);
    }
    ChoosePrimary(ReadPortTransport(portName_).value_or(static_cast<std::uint8_t>(record.pProtocol)));
    LogPrintf("CNPC::cPrimaryProtocol = %d\n", primary_);
}

CNPC::~CNPC() {
    Disconnect();
}

void CNPC::ChoosePrimary(std::uint32_t preferred) {
    if (preferred == kProtocolIpx || preferred == kProtocolIp || preferred == kProtocolDlc) {
        primary_ = static_cast<std::uint8_t>(preferred);
    } else if ((protocols_ & kProtocolIp) != 0) {
        primary_ = kProtocolIp;
    } else if ((protocols_ & kProtocolIpx) != 0) {
        primary_ = kProtocolIpx;
    } else {
        primary_ = kProtocolDlc;
    }
}

int CNPC::Open() {
    if (state_ != PM32_PORT_CLOSED) {
        return 0;
    }
    state_ = PM32_PORT_OPEN;
    return 1;
}

// A port closed while connected holds a job that never ended.
int CNPC::Close() {
    if (state_ == PM32_PORT_CONNECTED) {
        CutLink();
    }
    state_ = PM32_PORT_CLOSED;
    return 1;
}

int CNPC::Disconnect() {
    DropLink(false);
    ClosePrinter();
    return 0;
}

void CNPC::CutLink() {
    DropLink(true);
    ClosePrinter();
}

void CNPC::DropLink(bool cut) {
    if (link_) {
        cut ? link_->Abort() : link_->Close();
        link_.reset();
    }
    current_ = 0;
    if (state_ == PM32_PORT_CONNECTED) {
        state_ = PM32_PORT_OPEN;
    }
}

void CNPC::ClosePrinter() {
    if (printer_ != nullptr) {
        plat::ClosePrinter(printer_);
        printer_ = nullptr;
    }
}

std::uint32_t CNPC::GetJobStatus() {
    plat::JobInfo1 job;
    return printer_ != nullptr && plat::GetJob(printer_, jobId_, job) ? job.status : 0;
}

int CNPC::Connect(const char* printerName, std::uint32_t jobId) {
    current_ = 0;
    LogPrintf("CNPC::Connect(%s)\n", printerName != nullptr ? printerName : "");
    if (state_ != PM32_PORT_OPEN) {
        LogWrite("Connect():error not PM32_PORT_OPEN\n");
        return 0;
    }
    jobId_ = jobId;
    checksum_ = 0;
    if (!plat::OpenPrinter(printerName, &printer_)) {
        LogWrite("Connect():error OpenPrinter\n");
        printer_ = nullptr;
    }
    std::uint8_t tried = 0;
    for (int attempt = 0; attempt < kAttempts && !IsJobDeleted(); ++attempt) {
        const std::uint8_t transport = primary_;
        if (TryTransport(transport)) {
            LogWrite("ok, connected, return TURE\n");
            WritePortTransport(portName_, primary_);
            return 1;
        }
        tried |= transport;
        const std::uint8_t next = NextTransport(transport, protocols_, tried);
        if (next == 0) {
            break;
        }
        primary_ = next;
    }
    LogWrite("failed to connect, return FALSE\n");
    WritePortTransport(portName_, primary_);
    ClosePrinter();
    return 0;
}

bool CNPC::TryTransport(std::uint8_t transport) {
    switch (transport) {
        case kProtocolIpx:
            LogWrite("Trying IPX Connection...");
            return RunSpxSequence();
        case kProtocolIp:
            LogWrite("Trying IP Connection...");
            if (!dnsName_.empty() && RunStreamSequence(kProtocolIp, dnsName_, kTcpJobPort)) {
                LogWrite("ok, connected using DNS, return TURE\n");
                return true;
            }
            return RunStreamSequence(kProtocolIp, ip_, kTcpJobPort);
        case kProtocolDlc:
            LogWrite("Trying DLC Connection...");
            return RunStreamSequence(kProtocolDlc, mac_, kDlcJobSap);
        default:
            return false;
    }
}

std::unique_ptr<JobStreamLink> CNPC::MakeLink(std::uint8_t transport) {
    const LinkTiming timing{settings_.linkTimeOutMs, settings_.linkRetries,
                            [this] { return IsJobDeleted(); }};
    switch (transport) {
        case kProtocolIp:
            return std::make_unique<TcpLink>(timing);
        case kProtocolIpx:
            return std::make_unique<SpxLink>(timing);
        default:
            return std::make_unique<DlcLink>(timing);
    }
}

void CNPC::Pause(std::uint32_t milliseconds) {
    poll(nullptr, 0, static_cast<int>(milliseconds));
}

bool CNPC::WaitAfterRefusal(std::uint32_t& refusals) {
    if (++refusals >= settings_.linkRetries) {
        return false;
    }
    Pause(settings_.busyWaitMs);
    return true;
}

LinkResult CNPC::ReceiveReady(JobStreamLink& link, std::uint8_t& byte) {
    if (IsJobDeleted()) {
        return kLinkNothingReceived;
    }
    std::size_t length = 1;
    const LinkResult result = link.Receive(&byte, length);
    return result == kLinkReceived && length == 0 ? kLinkNotConnected : result;
}

bool CNPC::AskReady(JobStreamLink& link, const std::string& address, std::uint16_t port, std::uint8_t& byte) {
    std::uint32_t refusals = 0;
    while (!IsJobDeleted()) {
        const LinkResult connected = link.Connect(address.c_str(), port);
        if (connected == kLinkRefused) {
            if (!WaitAfterRefusal(refusals)) {
                return false;
            }
            continue;
        }
        if (connected != kLinkConnected) {
            LogPrintf("connection error %d\n", connected);
            return false;
        }
        const LinkResult ready = ReceiveReady(link, byte);
        if (ready == kLinkReceived) {
            LogWrite(byte == kReadyByte ? "request accepted\n" : "request rejected\n");
            return true;
        }
        LogPrintf("ready byte not received: %d\n", ready);
        link.Close();
        return false;
    }
    return false;
}

bool CNPC::RunStreamSequence(std::uint8_t transport, const std::string& address, std::uint16_t port) {
    std::unique_ptr<JobStreamLink> link = MakeLink(transport);
    std::uint8_t byte = 0;
    while (AskReady(*link, address, port, byte)) {
        if (byte == kReadyByte) {
            return Established(std::move(link), transport);
        }
        link->Close();
        Pause(settings_.busyWaitMs);
    }
    return false;
}

bool CNPC::RunSpxSequence() {
    std::unique_ptr<JobStreamLink> link = MakeLink(kProtocolIpx);
    std::uint8_t byte = 0;
    // The status socket tells whether the card is ready; the job goes to the job socket.
    while (AskReady(*link, ipx_, kSpxStatusSocket, byte)) {
        link->Close();
        if (byte == kReadyByte) {
            return link->Connect(ipx_.c_str(), kSpxJobSocket) == kLinkConnected &&
                   Established(std::move(link), kProtocolIpx);
        }
        Pause(settings_.busyWaitMs);
    }
    return false;
}

bool CNPC::Established(std::unique_ptr<JobStreamLink> link, std::uint8_t transport) {
    link_ = std::move(link);
    current_ = transport;
    state_ = PM32_PORT_CONNECTED;
    if (SendBanner()) {
        return true;
    }
    // The link may be gone already: the print server dropped it.
    LogWrite("banner not sent\n");
    DropLink(true);
    return false;
}

bool CNPC::SendBanner() {
    plat::JobInfo1 job;
    const bool haveJob = printer_ != nullptr && plat::GetJob(printer_, jobId_, job);
    const std::string text = BannerText(haveJob ? &job : nullptr);
    const std::vector<std::uint8_t> header = BannerHeader(text.size());
    return SendAll(header.data(), header.size()) == kLinkSent &&
           SendAll(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()) == kLinkSent;
}

LinkResult CNPC::SendAll(const std::uint8_t* bytes, std::size_t count) {
    if (!link_) {
        return kLinkNotConnected;
    }
    std::size_t offset = 0;
    while (true) {
        std::size_t taken = 0;
        const LinkResult result = link_->Send(bytes + offset, count - offset, taken);
        offset += taken;
        if (result == kLinkNotConnected) {
            DropLink(false);
            return result;
        }
        // Only the bytes the link has not taken go again, and only while it makes progress.
        if (result != kLinkNotAllSent || taken == 0 || IsJobDeleted()) {
            return result;
        }
    }
}

std::size_t CNPC::MaxWriteBytes() const {
    return (link_ ? link_->PacketsPerSend() : 1) * kMaxDataBytes;
}

LinkResult CNPC::Receive(std::uint8_t* buffer, std::size_t& length) {
    if (!link_) {
        return kLinkNotConnected;
    }
    const LinkResult result = link_->Receive(buffer, length);
    if (result == kLinkNotConnected) {
        DropLink(false);
    }
    return result;
}
