#pragma once

#include "transport/DeviceRecord.h"
#include "transport/TransportResult.h"

// Fills the record's protocol mask, preferred protocol and IPX, IP and MAC address texts from the
// device store entry of the adapter name; the other fields keep what they held. A missing
// "pProtocol" gives the protocol mask. 0, or kDeviceStoreFailed when the name is not an adapter name,
// the entry cannot be opened or it has no readable "MAC Address" (fields read before that keep what
// was read). The thread keeps the last entry it read while the store stays unchanged, which is as fresh
// as reading it again.
TransportResult HelperGetRegNPCDetails(const char* adapterName, DeviceRecord& record);
