#pragma once

#include <cstdint>

namespace snmp {

// Identifier octets of the elements of an SNMPv1 message.
enum BerTag : std::uint8_t {
    kTagInteger = 0x02,
    kTagOctetString = 0x04,
    kTagNull = 0x05,
    kTagObjectId = 0x06,
    kTagSequence = 0x30,
    kTagIpAddress = 0x40,
    kTagCounter = 0x41,
    kTagGauge = 0x42,
    kTagTimeTicks = 0x43,
    kTagOpaque = 0x44,
    kTagPduBase = 0xA0,  // plus the PDU type; 0xA4 is the Trap-PDU
    kTagTrapPdu = 0xA4,
};

inline constexpr std::uint8_t kConstructedBit = 0x20;
inline constexpr std::uint8_t kMultiByteTag = 0x1F;

}  // namespace snmp
