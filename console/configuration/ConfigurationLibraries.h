#pragma once

#include "console/core/Libraries.h"
#include "netware/cardtable/CardServiceTable.h"

// The configuration helper exports the network interface dialog calls, bound by name on first use
// like the core's; the card's NetWare service table and check delays are among them.
namespace console::configlib {

inline LateExport<decltype(::HelperBcastSet)> HelperBcastSet{"Halbrin.dll", "HelperBcastSet"};
inline LateExport<decltype(::HelperGetAppleTalkZones)> HelperGetAppleTalkZones{"Halbrin.dll",
                                                                               "HelperGetAppleTalkZones"};
inline LateExport<decltype(::NwSNMPInit)> NwSNMPInit{"Halbrin.dll", "NwSNMPInit"};
inline LateExport<decltype(::NwSNMPGetCfgCheckDelay)> NwSNMPGetCfgCheckDelay{"Halbrin.dll",
                                                                             "NwSNMPGetCfgCheckDelay"};
inline LateExport<decltype(::NwSNMPGetJobCheckDelay)> NwSNMPGetJobCheckDelay{"Halbrin.dll",
                                                                             "NwSNMPGetJobCheckDelay"};
inline LateExport<decltype(::NwSNMPSetCfgCheckDelay)> NwSNMPSetCfgCheckDelay{"Halbrin.dll",
                                                                             "NwSNMPSetCfgCheckDelay"};
inline LateExport<decltype(::NwSNMPSetJobCheckDelay)> NwSNMPSetJobCheckDelay{"Halbrin.dll",
                                                                             "NwSNMPSetJobCheckDelay"};

}  // namespace console::configlib
