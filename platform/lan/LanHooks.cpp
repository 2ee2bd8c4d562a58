#include "platform/lan/LanHooks.h"

#include <cstdlib>
#include <mutex>
#include <random>

namespace plat {

namespace {

std::uint32_t EnvironmentNumber(const char* name, std::uint32_t fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') {
        return fallback;
    }
    char* end = nullptr;
    unsigned long value = std::strtoul(text, &end, 10);
    return *end == '\0' ? static_cast<std::uint32_t>(value) : fallback;
}

struct Hooks {
    std::mutex lock;
    LanTiming timing;
    double dropShare;
    std::uint32_t delayMs;
    std::minstd_rand random{std::random_device{}()};

    Hooks()
        : dropShare(EnvironmentNumber("VORLANE_LAN_DROP", 0) / 100.0),
          delayMs(EnvironmentNumber("VORLANE_LAN_DELAY", 0)) {
        timing.retransmitMs = EnvironmentNumber("VORLANE_LAN_T1", timing.retransmitMs);
    }
};

Hooks& TheHooks() {
    static Hooks hooks;
    return hooks;
}

}  // namespace

LanTiming GetLanTiming() {
    std::lock_guard guard(TheHooks().lock);
    return TheHooks().timing;
}

void SetLanTiming(const LanTiming& timing) {
    std::lock_guard guard(TheHooks().lock);
    TheHooks().timing = timing;
}

void SetLanDropShare(double share) {
    std::lock_guard guard(TheHooks().lock);
    TheHooks().dropShare = share;
}

void SetLanDelay(std::uint32_t milliseconds) {
    std::lock_guard guard(TheHooks().lock);
    TheHooks().delayMs = milliseconds;
}

bool LanDropsFrame() {
    Hooks& hooks = TheHooks();
    std::lock_guard guard(hooks.lock);
    if (hooks.dropShare <= 0) {
        return false;
    }
    return std::uniform_real_distribution<double>(0, 1)(hooks.random) < hooks.dropShare;
}

std::uint32_t LanDelay() {
    std::lock_guard guard(TheHooks().lock);
    return TheHooks().delayMs;
}

}  // namespace plat
