#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "platform/dlc/DlcAdapter.h"
#include "platform/dlc/DlcInterface.h"

namespace plat {

// The DLC command interface of this process: the adapter opens by application id, and the commands
// given to AcsLan.
class DlcEmulator {
  public:
    static DlcEmulator& Get();
    // 0 when the command was accepted, else the status it was refused with (written into the block,
    // whose event is set).
    std::uint32_t Issue(DlcCommandBlock& block);

  private:
    std::uint8_t OpenAdapter(DlcCommandBlock& block);
    std::uint8_t CloseAdapter(DlcCommandBlock& block);
    std::uint8_t Execute(DlcCommandBlock& block);

    std::map<std::uint8_t, std::shared_ptr<DlcAdapter>> adapters_;
    std::uint8_t lastId_ = 0;
};

}  // namespace plat
