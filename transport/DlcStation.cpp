#include <map>
#include <mutex>
#include <new>

#include "platform/services/Undestroyed.h"
#include "transport/DlcCommandLayer.h"
#include "transport/DlcSapAdapters.h"

namespace {

constexpr std::uint8_t kTimerT1 = 10;
constexpr std::uint8_t kMaxOutstanding = 5;
constexpr std::uint32_t kDlcStatusFlags = 1;
constexpr std::uint32_t kReceiveCompletionFlag = 0x50204030;
constexpr std::uint32_t kReceiveFlag = 0x50204040;
constexpr std::uint32_t kCloseWaitMs = 10000;

// The pending RECEIVE of each station: it lives until it is cancelled or its station is closed.
struct PendingReceives {
    std::mutex lock;
    std::map<std::uint16_t, std::unique_ptr<DlcCommand>> byStation;
};

PendingReceives& Receives() {
    return plat::Undestroyed<PendingReceives>();
}

// Retires the RECEIVEs of the stations that `concerned` picks by station id.
template <class Concerned>
void RetireReceives(Concerned concerned) {
    PendingReceives& receives = Receives();
    std::lock_guard guard(receives.lock);
    for (auto it = receives.byStation.begin(); it != receives.byStation.end();) {
        if (concerned(it->first)) {
            DlcRetire(std::move(it->second));
            it = receives.byStation.erase(it);
        } else {
            ++it;
        }
    }
}

DlcResult StationCommand(std::uint8_t code, std::uint16_t stationId, std::uint32_t timeoutMs) {
    auto command = MakeDlcCommand<DlcCommand>(code);
    if (!command) {
        return kDlcNoMemory;
    }
    command->block.parameter.stationId = stationId;
    return DlcExecute(command, timeoutMs);
}

}  // namespace

DlcResult DlcOpenSap(std::uint8_t sap, std::uint16_t* stationId) {
    auto command = MakeDlcCommand<DlcTableCommand<plat::DlcOpenSapParms>>(plat::kDlcOpenSap);
    if (!command) {
        return kDlcNoMemory;
    }
    plat::DlcOpenSapParms& table = command->table;
    table.timerT1 = kTimerT1;
    table.maxOut = kMaxOutstanding;
    table.sapValue = sap;
    table.options = plat::kDlcSapIndividual;
    table.stationCount = 1;
    table.dlcStatusFlags = kDlcStatusFlags;
    if (DlcExecute(command) != kDlcOk) {
        return kDlcFailed;
    }
    *stationId = table.stationId;
    NoteSapOpened(table.stationId, command->block.applicationId);
    return kDlcOk;
}

DlcResult DlcCloseSap(std::uint8_t command, std::uint16_t stationId) {
    const DlcResult result = StationCommand(command, stationId, kCloseWaitMs);
    const bool wholeSap = command == plat::kDlcCloseSap;
    if (wholeSap) {
        NoteSapClosed(stationId);
    }
    RetireReceives([&](std::uint16_t station) {
        return wholeSap ? (station >> 8) == (stationId >> 8) : station == stationId;
    });
    return result;
}

DlcResult DlcReceive(std::uint16_t stationId) {
    auto command = MakeDlcCommand<DlcTableCommand<plat::DlcReceiveParms>>(plat::kDlcReceive);
    if (!command) {
        return kDlcNoMemory;
    }
    command->block.completionFlag = kReceiveCompletionFlag;
    command->table.stationId = stationId;
    command->table.receiveFlag = kReceiveFlag;
    PendingReceives& receives = Receives();
    std::lock_guard guard(receives.lock);
    // The station's place is made first: once the adapter holds the RECEIVE, keeping it cannot fail.
    std::unique_ptr<DlcCommand>* slot = nullptr;
    try {
        slot = &receives.byStation[stationId];
    } catch (const std::bad_alloc&) {
        return kDlcNoMemory;
    }
    // With an event of its own the RECEIVE's end is seen here rather than reported through a READ.
    if (DlcIssue(*command, true) != kDlcOk) {
        return kDlcFailed;
    }
    DlcRetire(std::move(*slot));
    *slot = std::move(command);
    return kDlcOk;
}

DlcResult DlcCancelReceive(std::uint16_t stationId) {
    const DlcResult result = StationCommand(plat::kDlcReceiveCancel, stationId, kDlcCommandWaitMs);
    RetireReceives([stationId](std::uint16_t station) { return station == stationId; });
    return result;
}

void DlcRetireAllReceives() {
    RetireReceives([](std::uint16_t) { return true; });
}
