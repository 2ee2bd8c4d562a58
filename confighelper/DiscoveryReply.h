#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "confighelper/DeviceList.h"
#include "snmp/codec/ReqParam.h"
#include "transport/ProtocolMask.h"

// Folds one decoded answer to the discovery request into the list. The answer must be error-free with
// exactly three values: the hardware address (octet string of 6 bytes), the IP address (IP address of 4
// bytes) and the category (integer). sender: the 4, 10 or 6 sender address bytes of the kind (UDP, IPX,
// DLC). The index of the record it made or changed, or none when the answer is ignored.
std::optional<std::size_t> ParseDiscoveryReply(const ReqParam& answer, const std::uint8_t* sender,
                                               DeviceList& list, ProtocolMask kind);

// Folds one IPX service response (type 2, whole 64-byte entries of server type 0x0922 after the type)
// into the list. Gives the indexes of the records its entries made or changed.
std::vector<std::size_t> ParseSapReply(const std::uint8_t* packet, std::size_t length, DeviceList& list);
