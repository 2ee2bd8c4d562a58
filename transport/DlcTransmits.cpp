#include <chrono>
#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <vector>

#include "platform/services/Undestroyed.h"
#include "transport/DlcCommandLayer.h"

namespace {

constexpr std::uint32_t kIFrameCompletionFlag = 0x50404030;

// A transmit with the LAN header and a copy of the data: the adapter reads them until the transmit
// completes, so they belong to it, not to the caller.
struct DlcTransmitCommand : DlcTableCommand<plat::DlcTransmitParms> {
    using DlcTableCommand::DlcTableCommand;

    std::uint8_t header[plat::kDlcLanHeaderSize] = {};
    std::vector<std::uint8_t> data;
};

// Transmits handed to the adapter whose completion has not been read, by command block.
struct TransmitsInFlight {
    std::mutex lock;
    std::map<const plat::DlcCommandBlock*, std::unique_ptr<DlcTransmitCommand>> byBlock;
    void (*hook)(int completed) = nullptr;
};

TransmitsInFlight& InFlight() {
    return plat::Undestroyed<TransmitsInFlight>();
}

// Issues the transmit without an event: its completion comes through a READ of its station.
DlcResult IssueTransmit(std::unique_ptr<DlcTransmitCommand> transmit) {
    TransmitsInFlight& inFlight = InFlight();
    const plat::DlcCommandBlock* block = &transmit->block;
    DlcTransmitCommand* issued = transmit.get();
    try {
        // Registered first: its completion may be read on another thread as soon as it is issued.
        std::lock_guard guard(inFlight.lock);
        inFlight.byBlock[block] = std::move(transmit);
    } catch (const std::bad_alloc&) {
        return kDlcNoMemory;
    }
    if (DlcIssue(*issued, false) == kDlcOk) {
        return kDlcOk;
    }
    std::lock_guard guard(inFlight.lock);
    inFlight.byBlock.erase(block);
    return kDlcFailed;
}

std::unique_ptr<DlcTransmitCommand> MakeTransmit(std::uint8_t code, std::uint16_t stationId, const void* data,
                                                 std::uint32_t length) {
    std::unique_ptr<DlcTransmitCommand> transmit(new (std::nothrow) DlcTransmitCommand(code));
    if (!transmit) {
        return nullptr;
    }
    try {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        transmit->data.assign(bytes, bytes + length);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    transmit->table.stationId = stationId;
    return transmit;
}

}  // namespace

DlcResult DlcTransmitUiFrame(std::uint16_t stationId, const void* data, std::uint32_t length,
                             const std::uint8_t* destination, std::uint8_t remoteSap) {
    if (!DlcAvailable() || length > plat::kDlcMaxFrameSize) {
        return kDlcFailed;
    }
    std::unique_ptr<DlcTransmitCommand> transmit =
        MakeTransmit(plat::kDlcTransmitUiFrame, stationId, data, length);
    if (!transmit) {
        return kDlcNoMemory;
    }
    std::memcpy(transmit->header + 2, destination, kDlcAddressBytes);
    ReverseBitsInBuffer(transmit->header + 2, kDlcAddressBytes);
    plat::DlcTransmitParms& table = transmit->table;
    table.remoteSap = remoteSap;
    table.firstLength = plat::kDlcLanHeaderSize;
    table.firstBuffer = transmit->header;
    table.secondLength = static_cast<std::uint16_t>(length);
    table.secondBuffer = transmit->data.data();
    return IssueTransmit(std::move(transmit));
}

DlcResult DlcTransmitIFrame(std::uint16_t stationId, const void* data, std::uint32_t length) {
    if (!DlcAvailable() || length > plat::kDlcMaxFrameSize) {
        return kDlcFailed;
    }
    std::unique_ptr<DlcTransmitCommand> transmit =
        MakeTransmit(plat::kDlcTransmitIFrame, stationId, data, length);
    if (!transmit) {
        return kDlcNoMemory;
    }
    transmit->block.completionFlag = kIFrameCompletionFlag;
    transmit->table.firstLength = static_cast<std::uint16_t>(length);
    transmit->table.firstBuffer = transmit->data.data();
    return IssueTransmit(std::move(transmit));
}

int DlcFreeTransmitCompletions(const plat::DlcReadParms& read) {
    TransmitsInFlight& inFlight = InFlight();
    int freed = 0;
    void (*hook)(int) = nullptr;
    {
        std::lock_guard guard(inFlight.lock);
        const plat::DlcCommandBlock* block = read.completedCommands;
        for (unsigned i = 0; i < read.completedCommandCount && block != nullptr; ++i) {
            const plat::DlcCommandBlock* next = block->next;
            freed += static_cast<int>(inFlight.byBlock.erase(block));
            block = next;
        }
        hook = inFlight.hook;
    }
    if (hook != nullptr && freed > 0) {
        hook(freed);
    }
    return freed;
}

int DlcTransmitsInFlight(std::uint16_t stationId, bool wholeSap) {
    TransmitsInFlight& inFlight = InFlight();
    std::lock_guard guard(inFlight.lock);
    int count = 0;
    for (const auto& [block, transmit] : inFlight.byBlock) {
        const std::uint16_t station = transmit->table.stationId;
        count += wholeSap ? (station >> 8) == (stationId >> 8) : station == stationId;
    }
    return count;
}

void DlcSetTransmitCompletionHook(void (*hook)(int completed)) {
    TransmitsInFlight& inFlight = InFlight();
    std::lock_guard guard(inFlight.lock);
    inFlight.hook = hook;
}

void DlcCollectTransmits(std::uint16_t stationId, std::uint32_t timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (DlcTransmitsInFlight(stationId, false) > 0) {
        std::unique_ptr<DlcReadCommand> read = DlcRead(stationId, plat::kDlcEventTransmitCompletion);
        if (!read) {
            return;
        }
        if (!read->event.Wait(MillisecondsUntil(deadline))) {
            DlcCancelRead(*read);
            if (read->event.IsSet() && read->block.status == plat::kDlcStatusSuccess) {
                DlcFreeTransmitCompletions(read->table);
            }
            DlcRetire(std::move(read));
            return;
        }
        if (read->block.status != plat::kDlcStatusSuccess) {
            return;
        }
        DlcFreeTransmitCompletions(read->table);
    }
}

void DlcReleaseCompletedTransmits() {
    TransmitsInFlight& inFlight = InFlight();
    std::lock_guard guard(inFlight.lock);
    std::erase_if(inFlight.byBlock,
                  [](const auto& entry) { return entry.second->block.status != plat::kDlcStatusPending; });
}
