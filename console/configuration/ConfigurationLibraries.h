#pragma once

#include "console/core/Libraries.h"

// The configuration helper exports the network interface dialog calls, bound by name on first use
// like the core's.
namespace console::configlib {

inline LateExport<decltype(::HelperBcastSet)> HelperBcastSet{"Halbrin.dll", "HelperBcastSet"};
inline LateExport<decltype(::HelperGetAppleTalkZones)> HelperGetAppleTalkZones{"Halbrin.dll",
                                                                               "HelperGetAppleTalkZones"};

}  // namespace console::configlib
