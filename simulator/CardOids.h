#pragma once

#include "simulator/Oid.h"

namespace sim {

// The card's private subtree and the objects the simulator itself acts on.
inline const Oid PrivateArc{1, 3, 6, 1, 4, 1, 32473, 11, 5, 1};
inline const Oid MibTwo{1, 3, 6, 1, 2, 1};

Oid Private(std::initializer_list<uint32_t> tail);
Oid Standard(std::initializer_list<uint32_t> tail);

inline const Oid SysName = Standard({1, 5, 0});
inline const Oid SysLocation = Standard({1, 6, 0});
inline const Oid IfPhysAddress2 = Standard({2, 2, 1, 6, 2});
inline const Oid CurrentZone = Standard({13, 3, 1, 1, 17, 1});
inline const Oid PrinterStatus = Private({1, 9, 1, 0});
inline const Oid TestPage = Private({1, 10, 1, 0});
inline const Oid MenuClear = Private({1, 4, 9, 0});
inline const Oid CardIpAddress = Private({12, 2, 5, 0});
inline const Oid Category = Private({12, 6, 1, 6, 0});
inline const Oid ZoneSegments = Private({12, 6, 1, 4, 2});
inline const Oid FactoryDefault = Private({12, 6, 1, 8, 0});
inline const Oid DownloadServer = Private({12, 2, 7, 0});
inline const Oid DownloadFile = Private({12, 2, 8, 0});
inline const Oid DownloadStart = Private({12, 6, 1, 5, 0});
inline const Oid PanelVersion = Private({1, 1, 1, 2, 0});
inline const Oid CardVersion = Private({1, 1, 2, 0});
inline const Oid NetWareServices = Private({12, 1, 3, 1});
inline const Oid TrapPairs = Private({12, 6, 2, 2, 1});
inline const Oid TrapRegistrations = Private({12, 6, 2, 4, 1});
inline const Oid Communities = Private({12, 6, 3, 2, 1});

}  // namespace sim
