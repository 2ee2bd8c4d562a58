#pragma once

namespace sim {

// Lets this process open as many files as its hard limit allows: every card takes descriptors of
// its own (its job port, its LAN stations), and a site of thousands needs more than the soft limit
// of 1024 that a login on a fresh machine has.
void RaiseDescriptorLimit();

}  // namespace sim
