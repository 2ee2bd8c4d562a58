#pragma once

#include <cstddef>
#include <cstdint>

#include "confighelper/DeviceList.h"
#include "snmp/codec/ReqParam.h"
#include "transport/ProtocolMask.h"

// Folds one decoded answer to the discovery request into the list. The answer must be error-free with
// exactly three values: the hardware address (octet string of 6 bytes), the IP address (IP address of 4
// bytes) and the category (integer). sender: the 4, 10 or 6 sender address bytes of the kind (UDP, IPX,
// DLC). False when the answer is ignored.
bool ParseDiscoveryReply(const ReqParam& answer, const std::uint8_t* sender, DeviceList& list,
                         ProtocolMask kind);

// Folds one IPX service response (type 2, whole 64-byte entries of server type 0x0922 after the type)
// into the list. Gives the number of entries taken.
std::size_t ParseSapReply(const std::uint8_t* packet, std::size_t length, DeviceList& list);
