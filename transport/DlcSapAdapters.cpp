#include "transport/DlcSapAdapters.h"

#include <map>
#include <mutex>
#include <new>

#include "platform/services/Undestroyed.h"

namespace {

struct SapAdapters {
    std::mutex lock;
    std::map<std::uint8_t, std::uint8_t> bySap;
};

// Never destroyed: commands are issued from unload code and reader threads.
SapAdapters& Holders() {
    return plat::Undestroyed<SapAdapters>();
}

std::uint8_t SapOf(std::uint16_t stationId) {
    return static_cast<std::uint8_t>(stationId >> 8);
}

std::optional<std::uint8_t> HolderOf(std::uint16_t stationId) {
    SapAdapters& holders = Holders();
    std::lock_guard guard(holders.lock);
    const auto found = holders.bySap.find(SapOf(stationId));
    return found == holders.bySap.end() ? std::nullopt : std::optional(found->second);
}

template <class Table>
const Table* TableOf(const plat::DlcCommandBlock& block) {
    return static_cast<const Table*>(block.parameter.table);
}

// The station that the command's parameter table names first; none without a table.
template <class Table>
std::optional<std::uint8_t> HolderOfTable(const plat::DlcCommandBlock& block) {
    const Table* table = TableOf<Table>(block);
    return table == nullptr ? std::nullopt : HolderOf(table->stationId);
}

}  // namespace

void NoteSapOpened(std::uint16_t stationId, std::uint8_t adapterId) {
    SapAdapters& holders = Holders();
    std::lock_guard guard(holders.lock);
    try {
        holders.bySap[SapOf(stationId)] = adapterId;
    } catch (const std::bad_alloc&) {
        // Unnoted, the SAP's commands carry bgApplId, as every command did before.
    }
}

void NoteSapClosed(std::uint16_t stationId) {
    SapAdapters& holders = Holders();
    std::lock_guard guard(holders.lock);
    holders.bySap.erase(SapOf(stationId));
}

std::optional<std::uint8_t> HoldingAdapter(const plat::DlcCommandBlock& block) {
    switch (block.command) {
        case plat::kDlcCloseSap:
        case plat::kDlcCloseStation:
        case plat::kDlcReceiveCancel:
            return HolderOf(block.parameter.stationId);
        case plat::kDlcReadCancel:
            return block.parameter.readBlock == nullptr
                       ? std::nullopt
                       : std::optional(block.parameter.readBlock->applicationId);
        case plat::kDlcBufferFree: {
            const auto* table = TableOf<plat::DlcBufferFreeParms>(block);
            return table == nullptr || table->firstBuffer == nullptr
                       ? std::nullopt
                       : HolderOf(table->firstBuffer->stationId);
        }
        case plat::kDlcOpenStation: {
            const auto* table = TableOf<plat::DlcOpenStationParms>(block);
            return table == nullptr ? std::nullopt : HolderOf(table->sapStationId);
        }
        case plat::kDlcConnectStation:
            return HolderOfTable<plat::DlcConnectStationParms>(block);
        case plat::kDlcReceive:
            return HolderOfTable<plat::DlcReceiveParms>(block);
        case plat::kDlcRead:
            return HolderOfTable<plat::DlcReadParms>(block);
        case plat::kDlcTransmitUiFrame:
        case plat::kDlcTransmitIFrame:
            return HolderOfTable<plat::DlcTransmitParms>(block);
        default:
            return std::nullopt;
    }
}
