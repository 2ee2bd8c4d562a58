#include "portmonitor/DlcLink.h"

#include <chrono>
#include <cstring>

#include "portmonitor/MonitorLog.h"
#include "transport/DlcCommandLayer.h"
#include "transport/HexCodec.h"

namespace {

constexpr std::uint8_t kMaxOutstandingIFrames = 5;
constexpr int kTransmitLimit = 25;
constexpr std::size_t kMacDigits = 12;

bool LinkGone(std::uint16_t status) {
    return (status & (plat::kDlcLinkLost | plat::kDlcFrmrReceived | plat::kDlcDmOrDiscReceived)) != 0;
}

DlcResult StationCommand(std::uint8_t code, std::uint16_t station) {
    auto command = std::make_unique<DlcCommand>(code);
    command->block.parameter.stationId = station;
    return DlcExecute(command);
}

}  // namespace

bool DlcLink::Available() {
    return DlcAvailable();
}

DlcLink::~DlcLink() {
    Close();
}

LinkResult DlcLink::Connect(const char* address, std::uint16_t sap) {
    if (!Available()) {
        return kLinkDlcFailed;
    }
    if (state_ == kLinkConnected) {
        return kLinkAlreadyConnected;
    }
    if (address == nullptr || std::strlen(address) != kMacDigits || !IsHexText(address, kMacDigits)) {
        return kLinkBadAddress;
    }
    std::uint8_t remote[kDlcAddressBytes];
    HexTextToBytes(remote, address, kDlcAddressBytes);
    ReverseBitsInBuffer(remote, kDlcAddressBytes);
    bool opened = false;
    for (unsigned value = 2; value <= 254 && !opened; value += 2) {
        opened = DlcOpenSap(static_cast<std::uint8_t>(value), &sapStation_) == kDlcOk;
    }
    if (!opened) {
        return kLinkDlcFailed;
    }
    const LinkResult result = OpenStation(remote, static_cast<std::uint8_t>(sap));
    if (result != kLinkConnected) {
        CloseSap();
        return result;
    }
    state_ = kLinkConnected;
    remoteBusy_ = false;
    return kLinkConnected;
}

LinkResult DlcLink::OpenStation(const std::uint8_t* remote, std::uint8_t remoteSap) {
    auto open = std::make_unique<DlcTableCommand<plat::DlcOpenStationParms>>(plat::kDlcOpenStation);
    open->table.sapStationId = sapStation_;
    open->table.maxOut = kMaxOutstandingIFrames;
    open->table.remoteSap = remoteSap;
    open->table.remoteNodeAddress = const_cast<std::uint8_t*>(remote);
    if (DlcExecute(open) != kDlcOk) {
        return kLinkDlcFailed;
    }
    linkStation_ = open->table.linkStationId;
    auto connect = std::make_unique<DlcTableCommand<plat::DlcConnectStationParms>>(plat::kDlcConnectStation);
    connect->table.stationId = linkStation_;
    const bool connected = DlcExecute(connect) == kDlcOk;
    const bool refused = !connected && connect && connect->block.status == plat::kDlcStatusConnectFailed;
    if (!connected || DlcReceive(linkStation_) != kDlcOk) {
        DlcCloseSap(plat::kDlcCloseStation, linkStation_);
        return refused ? kLinkRefused : kLinkDlcFailed;
    }
    return kLinkConnected;
}

bool DlcLink::TakeEvent(const DlcReadCommand& read) {
    if (read.block.status != plat::kDlcStatusSuccess) {
        return false;
    }
    if (read.table.event == plat::kDlcEventTransmitCompletion) {
        DlcFreeTransmitCompletions(read.table);
    } else if (read.table.event == plat::kDlcEventStatusChange) {
        const std::uint16_t status = read.table.dlcStatusCode;
        if (LinkGone(status)) {
            return false;
        }
        if ((status & plat::kDlcRemoteBusy) != 0) {
            remoteBusy_ = true;
        }
        if ((status & plat::kDlcRemoteBusyCleared) != 0) {
            remoteBusy_ = false;
        }
    }
    return true;
}

DlcLink::LinkState DlcLink::Poll(std::uint32_t waitMs) {
    while (true) {
        std::unique_ptr<DlcReadCommand> read =
            DlcRead(linkStation_, plat::kDlcEventTransmitCompletion | plat::kDlcEventStatusChange);
        if (!read) {
            return LinkState::Lost;
        }
        if (!read->event.Wait(waitMs)) {
            DlcCancelRead(*read);
            if (!read->event.IsSet()) {
                DlcRetire(std::move(read));
                break;
            }
            if (read->block.status == plat::kDlcStatusCancelledByUser) {
                break;
            }
        }
        if (!TakeEvent(*read)) {
            return LinkState::Lost;
        }
        waitMs = 0;  // the events already there, without waiting again
    }
    return remoteBusy_ || DlcTransmitsInFlight(linkStation_, false) >= kTransmitLimit ? LinkState::Busy
                                                                                      : LinkState::Ready;
}

DlcLink::LinkState DlcLink::WaitReady(std::uint32_t waitMs) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    LinkState link = Poll(waitMs);
    // An event (a completion, a busy peer's answer) ends a poll early: the round waits its full time.
    while (link == LinkState::Busy && !timing_.Abandoned() && Clock::now() < deadline) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        link = Poll(static_cast<std::uint32_t>(std::max<std::int64_t>(1, left.count())));
    }
    return link;
}

LinkResult DlcLink::Send(const std::uint8_t* bytes, std::size_t count, std::size_t& taken) {
    taken = 0;
    if (!Available() || state_ != kLinkConnected) {
        return kLinkNotConnected;
    }
    for (std::uint32_t round = 0;; ++round) {
        const LinkState link = WaitReady(round == 0 ? 0 : timing_.timeOutMs);
        if (link == LinkState::Lost) {
            Close();
            return kLinkNotConnected;
        }
        if (link == LinkState::Ready) {
            break;
        }
        if (round == timing_.retries || timing_.Abandoned()) {
            return kLinkNotAllSent;
        }
    }
    if (DlcTransmitIFrame(linkStation_, bytes, static_cast<std::uint32_t>(count)) != kDlcOk) {
        return kLinkFailed;
    }
    taken = count;
    return kLinkSent;
}

LinkResult DlcLink::Receive(std::uint8_t* buffer, std::size_t& length) {
    if (!Available() || state_ != kLinkConnected) {
        return kLinkNotConnected;
    }
    const std::uint32_t seconds =
        std::max<std::uint32_t>(1, (timing_.timeOutMs * timing_.retries + 999) / 1000);
    std::uint32_t got = 0;
    const DlcResult result = DlcWaitFrame(buffer, static_cast<std::uint32_t>(length), &got, nullptr, nullptr,
                                          linkStation_, seconds);
    if (result == kDlcOk) {
        length = got;
        return kLinkReceived;
    }
    if (result == kDlcLinkError) {
        Close();
        return kLinkNotConnected;
    }
    return kLinkNothingReceived;
}

LinkResult DlcLink::Close() {
    if (state_ != kLinkConnected || !Available()) {
        return kLinkNotConnected;
    }
    state_ = kLinkNotConnected;
    // What was sent is acknowledged before the station goes, for at most the link's rounds.
    DlcCollectTransmits(linkStation_, timing_.timeOutMs * timing_.retries);
    if (DlcCloseSap(plat::kDlcCloseStation, linkStation_) != kDlcOk) {
        LogPrintf("sapid=%x.Resetting...", sapStation_);
        StationCommand(plat::kDlcReset, sapStation_);
    }
    CloseSap();
    return kLinkNotConnected;
}

void DlcLink::CloseSap() {
    DlcCloseSap(plat::kDlcCloseSap, sapStation_);
}
