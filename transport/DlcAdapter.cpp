#include <atomic>
#include <cstring>
#include <new>
#include <optional>

#include "platform/services/ApplicationId.h"
#include "platform/services/DebugOutput.h"
#include "platform/services/ModuleLoader.h"
#include "platform/services/Undestroyed.h"
#include "transport/DlcCommandLayer.h"
#include "transport/DlcSapAdapters.h"

namespace {

constexpr std::uint16_t kMaxFrameSize = 1496;
constexpr std::uint8_t kMaxSaps = 126;
constexpr std::uint8_t kMaxStations = 255;

// The DLC interface as this deliverable bound it. Like the layer's pending commands it is never
// destroyed with the static objects: the adapter may use them until DlcUnload closes it.
struct DlcLayer {
    plat::ModuleHandle library = nullptr;
    std::atomic<plat::AcsLanEntry> acsLan{nullptr};
    std::uint8_t adapterAddress[kDlcAddressBytes] = {};
    std::atomic<bool> addressKnown{false};
    // The adapter this deliverable opened, until it closed it.
    std::optional<std::uint8_t> ownAdapter;
    // The receive buffer pool; the adapter may use it as long as it is open.
    std::unique_ptr<std::uint8_t[]> pool;
};

DlcLayer& Layer() {
    return plat::Undestroyed<DlcLayer>();
}

struct OpenAdapterCommand : DlcTableCommand<plat::DlcOpenAdapterParms> {
    OpenAdapterCommand() : DlcTableCommand(plat::kDlcDirOpenAdapter) {
        table = {&adapter, &extended, &dlc, nullptr};
        adapter.maxFrameSize = kMaxFrameSize;
        dlc.maxSaps = kMaxSaps;
        dlc.maxStations = kMaxStations;
    }

    plat::DlcAdapterParms adapter{};
    plat::DlcExtendedParms extended{};
    plat::DlcParms dlc{};
};

// From now on every command of this deliverable fails at once.
void ForgetDlc() {
    DlcLayer& layer = Layer();
    layer.acsLan = nullptr;
    plat::FreeModule(layer.library);
    layer.library = nullptr;
}

}  // namespace

int DlcIssue(DlcCommand& command, bool withEvent) {
    const plat::AcsLanEntry acsLan = Layer().acsLan;
    if (acsLan == nullptr) {
        return 1;
    }
    command.block.adapter = 0;
    const std::optional<std::uint8_t> holder =
        command.adapterId ? command.adapterId : HoldingAdapter(command.block);
    command.block.applicationId = holder.value_or(bgApplId);
    command.event.Reset();
    command.block.event = withEvent ? &command.event : nullptr;
    return acsLan(&command.block) == 0 ? 0 : 1;
}

bool DlcAvailable() {
    return Layer().acsLan != nullptr;
}

bool DlcAdapterAddress(std::uint8_t* address) {
    const DlcLayer& layer = Layer();
    if (!layer.addressKnown) {
        return false;
    }
    std::memcpy(address, layer.adapterAddress, kDlcAddressBytes);
    return true;
}

DlcResult DlcInitialize() {
    DlcLayer& layer = Layer();
    if (layer.library != nullptr) {
        return kDlcFailed;
    }
    layer.library = plat::LoadModule("DLCAPI.DLL");
    auto* acsLan = reinterpret_cast<plat::AcsLanEntry>(plat::ModuleSymbol(layer.library, "AcsLan"));
    if (acsLan == nullptr) {
        ForgetDlc();
        return kDlcFailed;
    }
    layer.acsLan = acsLan;
    DlcResult result = DlcOpenAdapter();
    if (result != kDlcOk) {
        return result;
    }
    result = DlcReadAdapterStatus();
    if (result == kDlcOk) {
        result = DlcCreateBuffers(kDlcPoolSize);
    }
    if (result != kDlcOk) {
        DlcCloseAdapter();
    }
    return result;
}

DlcResult DlcOpenAdapter() {
    auto command = MakeDlcCommand<OpenAdapterCommand>();
    if (!command) {
        return kDlcNoMemory;
    }
    if (DlcExecute(command) == kDlcOk) {
        bgApplId = command->block.applicationId;
        Layer().ownAdapter = bgApplId;
        return kDlcOk;
    }
    if (command && command->block.status == plat::kDlcStatusNotInstalled) {
        plat::DebugOutput("DLC not installed\n");
        ForgetDlc();
    }
    return kDlcFailed;
}

DlcResult DlcReadAdapterStatus() {
    auto command = MakeDlcCommand<DlcTableCommand<plat::DlcDirStatusParms>>(plat::kDlcDirStatus);
    if (!command) {
        return kDlcNoMemory;
    }
    if (DlcExecute(command) != kDlcOk) {
        return kDlcFailed;
    }
    DlcLayer& layer = Layer();
    std::memcpy(layer.adapterAddress, command->table.nodeAddress, kDlcAddressBytes);
    ReverseBitsInBuffer(layer.adapterAddress, kDlcAddressBytes);
    layer.addressKnown = true;
    return command->table.adapterType == plat::kDlcAdapterTypeSegment ? kDlcOk : kDlcWrongAdapter;
}

DlcResult DlcCreateBuffers(std::uint32_t size) {
    std::unique_ptr<std::uint8_t[]> pool(new (std::nothrow) std::uint8_t[size]);
    if (!pool) {
        return kDlcNoMemory;
    }
    auto command = MakeDlcCommand<DlcTableCommand<plat::DlcBufferCreateParms>>(plat::kDlcBufferCreate);
    if (!command) {
        return kDlcNoMemory;
    }
    command->table.buffer = pool.get();
    command->table.bufferSize = size;
    command->table.minimumFreeThreshold = size / 4;
    const DlcResult result = DlcExecute(command);
    if (result == kDlcOk || !command) {
        Layer().pool = std::move(pool);  // the adapter has it (or may still take it)
    }
    return result;
}

void DlcCloseAdapter() {
    DlcLayer& layer = Layer();
    if (!layer.ownAdapter) {
        return;
    }
    auto command = MakeDlcCommand<DlcCommand>(plat::kDlcDirCloseAdapter);
    if (!command) {
        return;
    }
    command->adapterId = layer.ownAdapter;
    if (DlcExecute(command) == kDlcOk) {
        layer.ownAdapter.reset();
    }
}

void DlcUnload() {
    DlcCloseAdapter();
    DlcLayer& layer = Layer();
    if (layer.ownAdapter) {
        return;  // still open: it may use everything it was given
    }
    // The close ended every command there: each goes now, the retired ones with the count's purge.
    DlcRetireAllReceives();
    DlcReleaseCompletedTransmits();
    DlcRetiredCount();
    layer.pool.reset();
    ForgetDlc();
}
