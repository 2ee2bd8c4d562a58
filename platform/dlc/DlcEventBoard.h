#pragma once

#include <cstdint>
#include <deque>
#include <functional>

#include "platform/dlc/DlcInterface.h"
#include "platform/lan/HardwareAddress.h"

namespace plat {

// One event of an adapter open, waiting for a READ that takes it.
struct DlcEvent {
    std::uint8_t event = 0;  // one kDlcEvent* bit
    std::uint16_t stationId = 0;
    std::uint32_t notificationFlag = 0;
    DlcCommandBlock* completed = nullptr;  // transmit completion: the block
    DlcBuffer* frame = nullptr;            // received data: the first buffer of the frame
    std::uint16_t dlcStatusCode = 0;       // status change
    HardwareAddress remote;                // status change: the remote station (canonical)
    std::uint8_t remoteSap = 0;
};

DlcEvent TransmitCompletionEvent(std::uint16_t stationId, DlcCommandBlock* block);
DlcEvent ReceiveDataEvent(std::uint16_t stationId, std::uint32_t receiveFlag, DlcBuffer* frame);
DlcEvent StatusChangeEvent(std::uint16_t stationId, std::uint16_t code, const HardwareAddress& remote,
                           std::uint8_t remoteSap);

// Matches the events of an adapter open with its pending READs, each in order of arrival. A READ takes
// the first event of its set that concerns its station; transmit completions waiting for the same READ
// are handed over together, chained.
class DlcEventBoard {
  public:
    using FreeCount = std::function<std::uint16_t()>;
    explicit DlcEventBoard(FreeCount freeCount) : freeCount_(std::move(freeCount)) {}

    void Post(const DlcEvent& event);
    // Completes the READ at once when an event waits for it; otherwise it stays pending.
    void Issue(DlcCommandBlock* read);
    // False when the READ is no longer pending.
    bool Cancel(DlcCommandBlock* read);
    // Ends the pending READs of a station (with kDlcReadSap: of its SAP, links included) with the
    // status, and drops its events; frames of dropped events go to `dropFrame`.
    void EndStation(std::uint16_t stationId, bool wholeSap, std::uint8_t status,
                    const std::function<void(DlcBuffer*)>& dropFrame);
    // Ends every pending READ and drops every event.
    void EndAll(std::uint8_t status);

  private:
    bool Matches(const DlcCommandBlock* read, const DlcEvent& event) const;
    void Complete(DlcCommandBlock* read, std::deque<DlcEvent>::iterator first);

    FreeCount freeCount_;
    std::deque<DlcEvent> events_;
    std::deque<DlcCommandBlock*> reads_;
};

// Writes a command's final status and sets its event.
void CompleteCommand(DlcCommandBlock* block, std::uint8_t status);

}  // namespace plat
