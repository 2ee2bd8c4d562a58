#pragma once

#include "simulator/EngineType.h"
#include "simulator/Mib.h"

namespace sim {

// The paper choices of a printer depend on the tray it feeds from: a cassette takes fewer paper
// sizes and only plain or thick paper, the automatic tray cannot be locked. Sets the choice masks
// of paper size, lock tray and paper type for the tray now chosen, and moves a value
// that the new mask no longer offers to the mask's first choice.
void FollowTray(Mib& mib, EngineType engine);
// Whether a set of these bindings may call for FollowTray: it writes the tray or a setting that
// depends on it.
bool TouchesTray(const std::vector<Binding>& bindings);

}  // namespace sim
