#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "simulator/CardDescription.h"

// A card's upgrade of its own firmware: it fetches the file by TFTP, checks it, goes silent while it
// restarts and comes back with the new version text.
namespace sim {

enum class UpgradeState : uint8_t { Idle, Fetching, Restarting, Done, Failed };

// Where the card fetches its firmware from: the download objects at the moment of the start.
struct UpgradeOrder {
    Ipv4 server{};
    std::string file;
};

class FirmwareUpgrade {
  public:
    using Clock = std::chrono::steady_clock;

    // A start while a fetch or restart is under way is not taken.
    bool Begin();
    // The received file; a file that passes the check restarts the card for restartMs.
    void Received(std::vector<uint8_t> file, std::chrono::milliseconds restart);
    void Failed(std::string reason);
    // True while the card restarts (it answers nothing).
    bool Restarting() const { return State() == UpgradeState::Restarting; }

    // Restarting turns into Done once the restart time is up.
    UpgradeState State() const;
    const std::vector<uint8_t>& File() const { return file_; }
    // The 32-bit sum of the file's bytes.
    uint32_t Checksum() const;
    // The version text the file carries (its first line after "VERSION "), or one made of its sum.
    std::string Version() const;
    // "STATE size N checksum HEX reason", as the control channel shows it.
    std::string Report() const;

  private:
    UpgradeState state_ = UpgradeState::Idle;
    std::vector<uint8_t> file_;
    std::string reason_;
    Clock::time_point back_{};
};

}  // namespace sim
