#include "simulator/ReadOnlyView.h"

#include <algorithm>

#include "simulator/CardOids.h"

namespace sim {

namespace {

constexpr uint32_t CommunityNameColumn = 2;

}  // namespace

bool IsSecret(const Oid& oid) {
    static const Oid secrets[] = {Private({12, 6, 1, 2, 0}), Private({12, 6, 1, 3, 0}),
                                  Communities.Child(CommunityNameColumn)};
    return std::ranges::any_of(secrets, [&oid](const Oid& secret) { return oid.StartsWith(secret); });
}

}  // namespace sim
