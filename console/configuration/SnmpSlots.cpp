#include "console/configuration/SnmpSlots.h"

namespace console {

namespace {

constexpr int kHalfPair = 30029;
constexpr int kSameAddress = 30030;
constexpr int kSameCommunity = 30031;

}  // namespace

int CheckTrapSlots(const TrapSlots& trapSlots) {
    for (std::size_t slot = 0; slot < trapSlots.size(); ++slot) {
        const TrapSlot& trap = trapSlots[slot];
        if (trap.changed == 0) {
            continue;
        }
        if (trap.HasAddress() != !trap.community.isEmpty()) {
            return kHalfPair;
        }
        for (std::size_t earlier = 0; earlier < slot; ++earlier) {
            if (trap.HasAddress() && trapSlots[earlier].address == trap.address) {
                return kSameAddress;
            }
            if (!trap.community.isEmpty() && trapSlots[earlier].community == trap.community) {
                return kSameCommunity;
            }
        }
    }
    return 0;
}

int AccessOf(bool read, bool write) {
    const int bits = (read ? kAccessRead : 0) | (write ? kAccessWrite : 0);
    return bits == 0 ? kAccessNone : bits;
}

bool ReadsAccess(int access) {
    return access >= 0 && access <= 7 && (access & kAccessRead) != 0;
}

bool WritesAccess(int access) {
    return access >= 0 && access <= 7 && (access & kAccessWrite) != 0;
}

bool LosesConsoleCommunity(const CommunitySlots& loaded, const CommunitySlots& edited, const QString& own) {
    for (std::size_t slot = 0; slot < loaded.size(); ++slot) {
        if (loaded[slot].name != own || edited[slot].changed == 0) {
            continue;
        }
        const CommunitySlot& now = edited[slot];
        if (now.name != own || !ReadsAccess(now.access) || !WritesAccess(now.access)) {
            return true;
        }
    }
    return false;
}

}  // namespace console
