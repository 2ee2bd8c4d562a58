#include "simulator/FirmwareUpgrade.h"

#include <cstdio>
#include <numeric>

namespace sim {

namespace {

constexpr std::string_view kVersionMark = "VERSION ";
constexpr size_t kLongestVersion = 32;

const char* StateName(UpgradeState state) {
    switch (state) {
        case UpgradeState::Idle:
            return "idle";
        case UpgradeState::Fetching:
            return "fetching";
        case UpgradeState::Restarting:
            return "restarting";
        case UpgradeState::Done:
            return "done";
        case UpgradeState::Failed:
            break;
    }
    return "failed";
}

}  // namespace

bool FirmwareUpgrade::Begin() {
    if (State() == UpgradeState::Fetching || Restarting()) {
        return false;
    }
    state_ = UpgradeState::Fetching;
    file_.clear();
    reason_.clear();
    return true;
}

void FirmwareUpgrade::Received(std::vector<uint8_t> file, std::chrono::milliseconds restart) {
    file_ = std::move(file);
    state_ = UpgradeState::Restarting;
    back_ = Clock::now() + restart;
}

void FirmwareUpgrade::Failed(std::string reason) {
    state_ = UpgradeState::Failed;
    reason_ = std::move(reason);
}

UpgradeState FirmwareUpgrade::State() const {
    if (state_ == UpgradeState::Restarting && Clock::now() >= back_) {
        return UpgradeState::Done;
    }
    return state_;
}

uint32_t FirmwareUpgrade::Checksum() const {
    return std::accumulate(file_.begin(), file_.end(), uint32_t{0});
}

std::string FirmwareUpgrade::Version() const {
    const std::string_view text(reinterpret_cast<const char*>(file_.data()), file_.size());
    if (text.starts_with(kVersionMark)) {
        std::string_view line = text.substr(kVersionMark.size(), kLongestVersion);
        line = line.substr(0, line.find_first_of("\r\n"));
        bool printable = true;
        for (char c : line) {
            printable = printable && c >= ' ' && c <= '~';
        }
        if (!line.empty() && printable) {
            return std::string(line);
        }
    }
    char made[24];
    std::snprintf(made, sizeof made, "build %08X", Checksum());
    return made;
}

std::string FirmwareUpgrade::Report() const {
    char sum[12];
    std::snprintf(sum, sizeof sum, "%08X", Checksum());
    std::string report =
        std::string(StateName(State())) + " size " + std::to_string(file_.size()) + " checksum " + sum;
    return reason_.empty() ? report : report + " " + reason_;
}

}  // namespace sim
