#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>

#include "transport/DlcCommandLayer.h"

namespace {

using Clock = std::chrono::steady_clock;

// A frame never spans more buffers than the pool holds.
constexpr unsigned kMaxBuffersPerFrame = kDlcPoolSize / plat::kDlcBufferSize;

bool LinkFailed(std::uint16_t dlcStatus) {
    return (dlcStatus & (plat::kDlcLinkLost | plat::kDlcDmOrDiscReceived | plat::kDlcFrmrReceived)) != 0;
}

}  // namespace

std::unique_ptr<DlcReadCommand> DlcRead(std::uint16_t stationId, std::uint8_t eventSet) {
    auto read = MakeDlcCommand<DlcReadCommand>(plat::kDlcRead);
    if (!read) {
        return nullptr;
    }
    read->table.stationId = stationId;
    read->table.optionIndicator = plat::kDlcReadSap;
    read->table.eventSet = eventSet;
    if (DlcIssue(*read, true) != kDlcOk) {
        return nullptr;
    }
    return read;
}

DlcResult DlcCancelRead(DlcReadCommand& read) {
    auto command = MakeDlcCommand<DlcCommand>(plat::kDlcReadCancel);
    if (!command) {
        return kDlcNoMemory;
    }
    command->block.parameter.readBlock = &read.block;
    const DlcResult result = DlcExecute(command);
    if (result == kDlcOk) {
        // The adapter lets go of a cancelled READ without setting its event: set here, it wakes the
        // READ's waiter and lets the READ be freed rather than kept for a completion that never comes.
        read.event.Set();
    }
    return result;
}

DlcResult DlcFreeBuffer(plat::DlcBuffer* firstBuffer) {
    auto command = MakeDlcCommand<DlcTableCommand<plat::DlcBufferFreeParms>>(plat::kDlcBufferFree);
    if (!command) {
        return kDlcNoMemory;
    }
    command->table.firstBuffer = firstBuffer;
    return DlcExecute(command);
}

std::uint32_t DlcFrameLength(const plat::DlcReadParms& read) {
    std::uint32_t length = 0;
    unsigned count = 0;
    for (const plat::DlcBuffer* part = read.receivedFrame; part != nullptr && count < kMaxBuffersPerFrame;
         part = part->next, ++count) {
        length += std::min<std::uint32_t>(part->dataLength, sizeof part->data);
    }
    return length;
}

DlcResult DlcCopyFrame(const plat::DlcReadParms& read, void* buffer, std::uint32_t size,
                       std::uint32_t* length, std::uint8_t* sender, std::uint8_t* senderSap) {
    plat::DlcBuffer* first = read.receivedFrame;
    if (length != nullptr) {
        *length = 0;
    }
    if (first == nullptr) {
        return kDlcFailed;
    }
    if (sender != nullptr) {
        std::memcpy(sender, first->lanHeader + plat::kDlcLanSourceOffset, kDlcAddressBytes);
        ReverseBitsInBuffer(sender, kDlcAddressBytes);
    }
    if (senderSap != nullptr) {
        *senderSap = first->dlcHeader[plat::kDlcSourceSapOffset];
    }
    DlcResult result = kDlcOk;
    std::uint32_t copied = 0;
    unsigned count = 0;
    for (const plat::DlcBuffer* part = first; part != nullptr && count < kMaxBuffersPerFrame;
         part = part->next, ++count) {
        const std::uint32_t partLength = std::min<std::uint32_t>(part->dataLength, sizeof part->data);
        if (partLength > size - copied) {
            result = kDlcFrameTooLarge;
            break;
        }
        std::memcpy(static_cast<std::uint8_t*>(buffer) + copied, part->data, partLength);
        copied += partLength;
        if (length != nullptr) {
            *length = copied;
        }
    }
    DlcFreeBuffer(first);
    return result;
}

namespace {

// What a completed READ means to a waiter for a frame: a result, or nothing when it should read on.
// Transmit completions are released on the way.
std::optional<DlcResult> TakeReadEvent(const DlcReadCommand& read, void* buffer, std::uint32_t size,
                                       std::uint32_t* length, std::uint8_t* sender, std::uint8_t* senderSap) {
    if (read.block.status != plat::kDlcStatusSuccess) {
        return kDlcLinkError;
    }
    switch (read.table.event) {
        case plat::kDlcEventTransmitCompletion:
            DlcFreeTransmitCompletions(read.table);
            return std::nullopt;
        case plat::kDlcEventReceiveData:
            return DlcCopyFrame(read.table, buffer, size, length, sender, senderSap);
        case plat::kDlcEventStatusChange:
            return LinkFailed(read.table.dlcStatusCode) ? std::optional<DlcResult>(kDlcLinkError)
                                                        : std::nullopt;
        default:
            return std::nullopt;
    }
}

}  // namespace

DlcResult DlcWaitFrame(void* buffer, std::uint32_t size, std::uint32_t* length, std::uint8_t* sender,
                       std::uint8_t* senderSap, std::uint16_t stationId, std::uint32_t seconds) {
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        std::unique_ptr<DlcReadCommand> read = DlcRead(stationId);
        if (!read) {
            return kDlcFailed;
        }
        if (!read->event.Wait(MillisecondsUntil(deadline))) {
            DlcCancelRead(*read);
            // The READ may have completed with an event before the cancel reached it: that event
            // is taken like any other, so that no frame is lost.
            if (!read->event.IsSet()) {
                DlcRetire(std::move(read));
                return kDlcTimedOut;
            }
            if (read->block.status == plat::kDlcStatusCancelledByUser) {
                return kDlcTimedOut;
            }
        }
        if (const std::optional<DlcResult> result =
                TakeReadEvent(*read, buffer, size, length, sender, senderSap)) {
            return *result;
        }
    }
}
