#include "firmware/FirmwareServer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

#include "firmware/FirmwareMessages.h"
#include "transport/UdpTransport.h"

namespace fendrel {

namespace {

constexpr std::uint16_t kTftpPort = 69;
constexpr std::uintptr_t kIdleTimer = 1;
constexpr std::uintptr_t kRetransmitTimer = 2;
constexpr std::uint32_t kIdleMs = 10000;
// A time-out of 0 seconds asks for the shortest wait; repeating a block needs some wait all the same.
constexpr std::uint32_t kShortestRetransmitMs = 200;
constexpr std::int32_t kLongestRetransmitSeconds = 60;
// Resending goes on at least this long: past a client's own usual time-out (5 s and more), so that
// a client that re-acknowledges late still finds its transfer.
constexpr std::uint32_t kShortestRetryWindowMs = 8000;

std::uint32_t RetransmitMs(const ServerSettings& settings) {
    const std::int32_t seconds = std::min(settings.timeOutSeconds, kLongestRetransmitSeconds);
    return seconds > 0 ? static_cast<std::uint32_t>(seconds) * 1000 : kShortestRetransmitMs;
}

unsigned RetransmitLimit(const ServerSettings& settings) {
    const std::uint32_t ms = RetransmitMs(settings);
    const unsigned window = (kShortestRetryWindowMs + ms - 1) / ms;
    return std::max({static_cast<unsigned>(std::max(settings.retries, 1)), window});
}

// The console's messages that end serving: they wait while a report to the console is under way
// (a start is answered at once, as the console expects).
bool IsConsoleEnding(std::uint32_t message) {
    return message == WM_TFTP_RELEASE || message == WM_TFTP_STOP || message == plat::kWmClose;
}

// The peer's address as the transport takes it. Made once per block: printf cost a fifth of the
// server's own work per block.
std::array<char, 16> DottedText(const std::array<std::uint8_t, 4>& address) {
    std::array<char, 16> text{};
    char* end = text.data();
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (i > 0) {
            *end++ = '.';
        }
        end = std::to_chars(end, text.data() + text.size() - 1, address[i]).ptr;
    }
    *end = '\0';
    return text;
}

}  // namespace

FirmwareServer* FirmwareServer::current_ = nullptr;

FirmwareServer::FirmwareServer(plat::WindowHandle consoleWindow, const ServerSettings& settings)
    : consoleWindow_(consoleWindow), settings_(settings), transfer_(*this, RetransmitLimit(settings)) {
    current_ = this;
}

FirmwareServer::~FirmwareServer() {
    transport_.reset();
    current_ = nullptr;
}

bool FirmwareServer::Start() {
    transport_ = std::make_unique<UdpTransport>(settings_.retries, settings_.timeOutSeconds,
                                                kTransportAsynchronous, &WindowProcedure, nullptr);
    window_ = transport_->GetWindow();
    if (window_ != 0) {
        PublishServerWindow(window_);
        Report(kTftpEventNone, 0);
    }
    if (window_ == 0 || transport_->Bind(kTftpPort) != kTransportOk) {
        transport_.reset();
        if (window_ != 0) {
            PublishServerWindow(0);
        }
        Report(kTftpEventNone, 0);
        return false;
    }
    running_ = true;
    return true;
}

plat::LResult FirmwareServer::WindowProcedure(plat::WindowHandle window, std::uint32_t message,
                                              plat::WParam wParam, plat::LParam lParam) {
    if (current_ == nullptr) {
        return plat::DefWindowProc(window, message, wParam, lParam);
    }
    return current_->HandleMessage(window, message, wParam, lParam);
}

plat::LResult FirmwareServer::HandleMessage(plat::WindowHandle window, std::uint32_t message,
                                            plat::WParam wParam, plat::LParam lParam) {
    // A message sent while this thread waits for the console's answer to a report would be handled
    // in the middle of that report: it is posted again and handled after it.
    if (reporting_ && IsConsoleEnding(message)) {
        plat::PostMessage(window, message, wParam, lParam);
        return 0;
    }
    switch (message) {
        case WM_DATAGRAM_NOTIFY:
            HandleDatagram();
            return 0;
        case WM_TFTP_RELEASE:
            // Deleting the transport destroys this window, which ends the program.
            transport_.reset();
            return 0;
        case WM_TFTP_START:
            serving_ = true;
            consoleWindow_ = static_cast<plat::WindowHandle>(wParam);
            Report(kTftpEventNone, 0);
            return 0;
        case WM_TFTP_STOP:
            // A transfer under way is cancelled too, rather than left to repeat its block unheard.
            serving_ = false;
            transfer_.Stop();
            return 0;
        case plat::kWmTimer:
            HandleTimer(wParam);
            return 0;
        case plat::kWmDestroy:
            End();
            return 0;
        default:
            return plat::DefWindowProc(window, message, wParam, lParam);
    }
}

void FirmwareServer::HandleDatagram() {
    const bool idleWasArmed = idleArmed_;
    StopIdleTimer();
    std::uint8_t datagram[kTftpMaxDatagram];
    std::uint32_t length = 0;
    TftpPeer from;
    TftpOutcome outcome = TftpOutcome::kSilent;
    if (transport_ != nullptr &&
        transport_->Receive(datagram, sizeof datagram, &length, from.address.data(), &from.port) ==
            kTransportOk &&
        serving_) {
        outcome = transfer_.HandleDatagram(TftpBytes(datagram, length), from);
    }
    // Once an answer has armed the idle time, a datagram that brought none restarts it rather than
    // stopping it; after the last acknowledgement it stays off.
    if (outcome == TftpOutcome::kAnswered || (outcome == TftpOutcome::kSilent && idleWasArmed)) {
        StartIdleTimer();
    }
}

void FirmwareServer::HandleTimer(plat::WParam timerId) {
    if (timerId == kIdleTimer) {
        StopIdleTimer();
        plat::PostMessage(window_, plat::kWmClose, 0, 0);
    } else if (timerId == kRetransmitTimer && transfer_.HandleRetransmitTimeout() == TftpOutcome::kAnswered) {
        StartIdleTimer();
    }
}

void FirmwareServer::End() {
    if (!running_) {
        return;
    }
    running_ = false;
    StopIdleTimer();
    transfer_.Stop();
    PublishServerWindow(0);
    Report(transfer_.EndEvent(), 0);
    plat::PostQuitMessage(0);
}

// A block resent on the own time-out restarts the idle time: a retransmit wait of 10 s or more must
// come before the idle end.
void FirmwareServer::StartIdleTimer() {
    const std::uint32_t ms = std::max(kIdleMs, RetransmitMs(settings_) + kIdleMs / 10);
    idleArmed_ = plat::SetTimer(window_, kIdleTimer, ms, nullptr) != 0;
}

void FirmwareServer::StopIdleTimer() {
    if (idleArmed_) {
        plat::KillTimer(window_, kIdleTimer);
        idleArmed_ = false;
    }
}

bool FirmwareServer::Send(TftpBytes packet, const TftpPeer& to) {
    if (transport_ == nullptr) {
        return false;
    }
    return transport_->SendTo(packet.data(), static_cast<std::uint32_t>(packet.size()),
                              DottedText(to.address).data(), to.port) == kTransportOk;
}

void FirmwareServer::Report(std::uint16_t event, std::uint16_t percentage) {
    if (consoleWindow_ != 0) {
        const bool outer = std::exchange(reporting_, true);
        plat::SendMessage(consoleWindow_, kTftpEventMessage, kTftpEventWParam,
                          TftpEventParam(event, percentage));
        reporting_ = outer;
    }
}

std::string FirmwareServer::ChosenFile() {
    return ReadChosenFile();
}

void FirmwareServer::ArmRetransmit() {
    plat::SetTimer(window_, kRetransmitTimer, RetransmitMs(settings_), nullptr);
}

void FirmwareServer::DisarmRetransmit() {
    plat::KillTimer(window_, kRetransmitTimer);
}

}  // namespace fendrel
