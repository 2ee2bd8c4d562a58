#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/dlc/BufferPool.h"
#include "platform/dlc/DlcEventBoard.h"
#include "platform/dlc/DlcInterface.h"
#include "platform/lan/LinkStation.h"
#include "platform/lan/SapPort.h"

namespace plat {

class DlcAdapter;

// A link station of an adapter open.
class DlcLinkRecord final : public LinkStation::Listener {
  public:
    DlcLinkRecord(DlcAdapter& adapter, std::uint16_t stationId) : stationId(stationId), adapter_(adapter) {}

    bool OnData(std::vector<std::uint8_t>& data) override;
    void OnAcknowledged(std::size_t count) override;
    void OnEvent(ReliableLink::Event event) override;

    const std::uint16_t stationId;
    std::unique_ptr<LinkStation> link;
    bool awaitingAccept = false;  // opened for a remote station's connect request
    bool starved = false;         // refused an I-frame for want of a RECEIVE or of buffers
    DlcCommandBlock* connectBlock = nullptr;
    DlcCommandBlock* closeBlock = nullptr;
    std::deque<DlcCommandBlock*> transmits;  // I-frames handed to the link, not yet acknowledged

  private:
    DlcAdapter& adapter_;
};

// An open SAP of an adapter open, with its link stations by number.
class DlcSapRecord final : public SapPort::Handler {
  public:
    DlcSapRecord(DlcAdapter& adapter, std::uint8_t sap, std::uint8_t stationCount)
        : sap(sap), stationCount(stationCount), adapter_(adapter) {}

    void OnUiFrame(const HardwareAddress& source, std::uint8_t sourceSap,
                   std::span<const std::uint8_t> data) override;
    void OnConnectRequest(const HardwareAddress& source, std::uint8_t sourceSap) override;
    // The lowest link station number not in use, 0 when the SAP has none left.
    std::uint8_t FreeLinkNumber() const;

    const std::uint8_t sap;
    const std::uint8_t stationCount;
    std::unique_ptr<SapPort> port;
    std::map<std::uint8_t, std::unique_ptr<DlcLinkRecord>> links;

  private:
    DlcAdapter& adapter_;
};

// One adapter open: its station, buffer pool, SAPs, link stations, pending RECEIVEs and its events.
// Used under LanLock().
class DlcAdapter : public std::enable_shared_from_this<DlcAdapter> {
  public:
    explicit DlcAdapter(const HardwareAddress& station);
    ~DlcAdapter();

    const HardwareAddress& Station() const { return station_; }
    // Runs a command of this adapter open: 0 when accepted (it may have completed already), otherwise
    // the status it is refused with. The lock is let go while a UI frame is sent.
    std::uint8_t Execute(DlcCommandBlock& block, std::unique_lock<std::recursive_mutex>& lock);
    // DIR.CLOSE.ADAPTER: every command still pending ends.
    void Shut();

    bool OnLinkData(DlcLinkRecord& record, std::vector<std::uint8_t>& data);
    void OnLinkAcknowledged(DlcLinkRecord& record, std::size_t count);
    void OnLinkEvent(DlcLinkRecord& record, ReliableLink::Event event);
    void OnUiFrame(DlcSapRecord& sap, const HardwareAddress& source, std::uint8_t sourceSap,
                   std::span<const std::uint8_t> data);
    void OnConnectRequest(DlcSapRecord& sap, const HardwareAddress& source, std::uint8_t sourceSap);

  private:
    std::uint8_t DirStatus(DlcCommandBlock& block);
    std::uint8_t BufferCreate(DlcCommandBlock& block);
    std::uint8_t BufferFree(DlcCommandBlock& block);
    std::uint8_t OpenSap(DlcCommandBlock& block);
    std::uint8_t CloseSap(DlcCommandBlock& block);
    std::uint8_t OpenStation(DlcCommandBlock& block);
    std::uint8_t ConnectStation(DlcCommandBlock& block);
    std::uint8_t CloseStation(DlcCommandBlock& block);
    std::uint8_t ResetStations(DlcCommandBlock& block);
    std::uint8_t Receive(DlcCommandBlock& block);
    std::uint8_t ReceiveCancel(DlcCommandBlock& block);
    std::uint8_t Read(DlcCommandBlock& block);
    std::uint8_t ReadCancel(DlcCommandBlock& block);
    std::uint8_t TransmitUi(DlcCommandBlock& block, std::unique_lock<std::recursive_mutex>& lock);
    std::uint8_t TransmitI(DlcCommandBlock& block);

    DlcSapRecord* FindSap(std::uint16_t stationId);
    DlcLinkRecord* FindLink(std::uint16_t stationId);
    bool StationExists(std::uint16_t stationId);
    DlcCommandBlock* ReceiveFor(std::uint16_t stationId);
    // A received frame into the pool, reported to the READs; false when it cannot be taken.
    bool TakeFrame(std::uint16_t stationId, const HardwareAddress& source, std::uint8_t dsap,
                   std::uint8_t ssap, std::uint8_t control, std::span<const std::uint8_t> data);
    void PostStatus(DlcLinkRecord& record, std::uint16_t code);
    void FailTransmits(DlcLinkRecord& record);
    // Ends a link station's commands and retires it; it is destroyed once its callbacks are over.
    void EndLink(DlcLinkRecord& record);
    void EndReceives(std::uint16_t stationId, bool wholeSap, std::uint8_t status);
    void FeedStarvedLinks();
    void ScheduleRetiredCleanup();

    HardwareAddress station_;
    std::unique_ptr<BufferPool> pool_;
    DlcEventBoard board_;
    std::map<std::uint8_t, std::unique_ptr<DlcSapRecord>> saps_;
    std::map<std::uint16_t, DlcCommandBlock*> receives_;
    std::vector<std::unique_ptr<DlcLinkRecord>> retired_;
    bool shut_ = false;
};

}  // namespace plat
