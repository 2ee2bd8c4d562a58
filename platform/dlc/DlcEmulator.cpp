#include "platform/dlc/DlcEmulator.h"

#include "platform/dlc/AdapterAddress.h"
#include "platform/lan/LanEngine.h"
#include "platform/lan/LanSettings.h"
#include "platform/services/ExportGuard.h"
#include "platform/services/Undestroyed.h"

namespace plat {

namespace {

constexpr std::size_t kMaxAdapterOpens = 255;

}  // namespace

DlcEmulator& DlcEmulator::Get() {
    // Never destroyed: commands may come from static objects and unload code of other libraries. It
    // goes with this library when that is unloaded (as on a PC without DLC, at once).
    return Undestroyed<DlcEmulator>();
}

std::uint32_t DlcEmulator::Issue(DlcCommandBlock& block) {
    std::uint8_t refusal = LanConfigured() ? Execute(block) : std::uint8_t{kDlcStatusNotInstalled};
    if (refusal != 0) {
        CompleteCommand(&block, refusal);
    }
    return refusal;
}

std::uint8_t DlcEmulator::Execute(DlcCommandBlock& block) {
    if (block.adapter != 0) {
        return kDlcStatusInvalidAdapter;
    }
    std::unique_lock lock(LanLock());
    block.status = kDlcStatusPending;
    if (block.command == kDlcDirOpenAdapter) {
        return OpenAdapter(block);
    }
    if (block.command == kDlcDirCloseAdapter) {
        return CloseAdapter(block);
    }
    auto it = adapters_.find(block.applicationId);
    if (it == adapters_.end()) {
        return kDlcStatusAdapterClosed;
    }
    std::shared_ptr<DlcAdapter> adapter = it->second;
    return adapter->Execute(block, lock);
}

std::uint8_t DlcEmulator::OpenAdapter(DlcCommandBlock& block) {
    auto* table = static_cast<DlcOpenAdapterParms*>(block.parameter.table);
    if (table == nullptr || table->adapter == nullptr) {
        return kDlcStatusInvalidParameter;
    }
    if (adapters_.size() >= kMaxAdapterOpens) {
        return kDlcStatusAdapterAlreadyOpen;
    }
    // An address given to the open (locally administered) makes the adapter that station.
    HardwareAddress given = FromAdapterForm(table->adapter->nodeAddress);
    HardwareAddress station = given.IsZero() ? LocalStationAddress() : given;
    do {
        lastId_ = static_cast<std::uint8_t>(lastId_ == 0xFF ? 1 : lastId_ + 1);
    } while (adapters_.contains(lastId_));
    adapters_[lastId_] = std::make_shared<DlcAdapter>(station);
    ToAdapterForm(station, table->adapter->nodeAddress);
    table->adapter->maxFrameSize = kDlcMaxFrameSize;
    block.applicationId = lastId_;
    CompleteCommand(&block, kDlcStatusSuccess);
    return 0;
}

std::uint8_t DlcEmulator::CloseAdapter(DlcCommandBlock& block) {
    auto it = adapters_.find(block.applicationId);
    if (it == adapters_.end()) {
        return kDlcStatusAdapterClosed;
    }
    it->second->Shut();
    adapters_.erase(it);
    CompleteCommand(&block, kDlcStatusSuccess);
    return 0;
}

}  // namespace plat

extern "C" __attribute__((visibility("default"))) std::uint32_t AcsLan(plat::DlcCommandBlock* block) {
    if (block == nullptr) {
        return plat::kDlcStatusInvalidCommand;
    }
    // A command the emulator could not carry out (no memory) is refused as any other: its status is
    // written and its event set, so that its issuer does not wait for it.
    auto refuse = [block](plat::ExportFault) {
        plat::CompleteCommand(block, plat::kDlcStatusInvalidCommand);
        return std::uint32_t{plat::kDlcStatusInvalidCommand};
    };
    return plat::GuardExportWith(refuse, [block] { return plat::DlcEmulator::Get().Issue(*block); });
}
