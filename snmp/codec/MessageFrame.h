#pragma once

#include <cstddef>
#include <cstdint>

#include "snmp/codec/BerReader.h"
#include "snmp/codec/BerWriter.h"

namespace snmp {

// The frame every SNMPv1 message shares, requests, responses and traps alike: the outer sequence,
// version 0 and the community, in front of the PDU.

// Writes the frame in front of the PDU that the writer holds from `pduEnd` (its Size() before the
// PDU was written). A null community must have length 0.
bool PutMessageFrame(BerWriter& out, const char* community, std::uint16_t communityLength,
                     std::size_t pduEnd);

// Reads the frame: the outer length must be exactly the bytes that follow it, the version 0.
// `pdu` is left on what follows the community, which goes into a new terminated block of
// kMaxCommunityLength + 1 bytes; longer communities are refused.
bool ReadMessageFrame(const std::uint8_t* data, std::size_t length, BerReader& pdu, char*& community,
                      std::uint16_t& communityLength);

}  // namespace snmp
