#pragma once

#include <QString>

#include <array>

// The SNMP page's two tables as the dialog holds them: five trap destinations (address and
// community) and five communities (name and access), each slot with the bits of what was changed.
namespace console {

inline constexpr int kSlotCount = 5;
inline const QString kNoAddress = "0.0.0.0";

enum SlotChange : int { kFirstHalfChanged = 1, kSecondHalfChanged = 2 };
enum CommunityAccess : int { kAccessRead = 1, kAccessWrite = 2, kAccessBoth = 3, kAccessNone = 4 };

struct TrapSlot {
    QString address = kNoAddress;
    QString community;
    int changed = 0;  // kFirstHalfChanged the address, kSecondHalfChanged the community
    bool HasAddress() const { return !address.isEmpty() && address != kNoAddress; }
};

struct CommunitySlot {
    QString name;
    int access = kAccessNone;
    int changed = 0;  // kFirstHalfChanged the name, kSecondHalfChanged the access
};

using TrapSlots = std::array<TrapSlot, kSlotCount>;
using CommunitySlots = std::array<CommunitySlot, kSlotCount>;

// The string id of the first fault of the changed trap trapSlots (a half-filled pair, or an address or
// community that an earlier slot holds too), or 0. Empty halves are never duplicates.
int CheckTrapSlots(const TrapSlots& trapSlots);

// Access from the two check boxes and back; values 5 to 7 show by their two low bits.
int AccessOf(bool read, bool write);
bool ReadsAccess(int access);
bool WritesAccess(int access);

// Whether the saved communities would drop the one this console uses: its slot renamed, emptied,
// or no longer allowed to read and write.
bool LosesConsoleCommunity(const CommunitySlots& loaded, const CommunitySlots& edited, const QString& own);

}  // namespace console
