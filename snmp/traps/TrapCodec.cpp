#include "snmp/traps/TrapCodec.h"

#include <cstring>
#include <string_view>

#include "platform/services/GlobalMemory.h"
#include "snmp/codec/BerReader.h"
#include "snmp/codec/BerTags.h"
#include "snmp/codec/BerWriter.h"
#include "snmp/codec/BindingList.h"
#include "snmp/codec/ValueDecoder.h"

namespace snmp {

namespace {

constexpr std::uint8_t kVersion1[] = {kTagInteger, 0x01, 0x00};
constexpr std::uint8_t kOneByteInteger[] = {kTagInteger, 0x01};
constexpr std::size_t kCommunityBlock = kMaxCommunityLength + 1;
constexpr std::size_t kOidBlock = kMaxOidTextLength + 1;
constexpr std::size_t kAgentAddressLength = 4;

bool PutTrap(BerWriter& out, const TrapParam& trap) {
    const std::size_t end = out.Size();
    if ((trap.Community == nullptr && trap.CommunityLength != 0) || trap.Enterprise == nullptr ||
        trap.AgentAddress == nullptr || trap.AgentAddressLength != kAgentAddressLength) {
        return false;
    }
    const std::uint8_t generic[] = {kTagInteger, 0x01, trap.GenericTrap};
    return EncodeBindingList(out, trap.Bindings, trap.BindingCount, true) &&
           out.PutUnsigned(kTagTimeTicks, trap.TimeStamp) && out.PutInteger(kTagInteger, trap.SpecificTrap) &&
           out.PutBytes(generic, sizeof generic) &&
           out.PutOctets(kTagIpAddress, trap.AgentAddress, kAgentAddressLength) &&
           out.PutObjectId(std::string_view(trap.Enterprise, trap.EnterpriseLength)) &&
           out.PutHeader(kTagTrapPdu, out.Size() - end) &&
           out.PutOctets(kTagOctetString, trap.Community, trap.CommunityLength) &&
           out.PutBytes(kVersion1, sizeof kVersion1) && out.PutHeader(kTagSequence, out.Size() - end);
}

bool ReadCommunity(BerReader& in, TrapParam& trap) {
    BerReader content(nullptr, 0);
    if (!in.ReadElement(kTagOctetString, content) || content.Remaining() > kMaxCommunityLength) {
        return false;
    }
    trap.CommunityLength = static_cast<std::uint16_t>(content.Remaining());
    trap.Community = static_cast<char*>(plat::AllocBlock(kCommunityBlock));
    if (trap.Community == nullptr) {
        return false;
    }
    std::memcpy(trap.Community, content.Take(trap.CommunityLength), trap.CommunityLength);
    return true;
}

bool ReadEnterprise(BerReader& in, TrapParam& trap) {
    trap.Enterprise = static_cast<char*>(plat::AllocBlock(kOidBlock));
    std::size_t length = 0;
    if (trap.Enterprise == nullptr || !ReadObjectId(in, trap.Enterprise, length)) {
        return false;
    }
    trap.EnterpriseLength = static_cast<std::uint16_t>(length);
    return true;
}

bool ReadAgentAddress(BerReader& in, TrapParam& trap) {
    const std::uint8_t header[] = {kTagIpAddress, kAgentAddressLength};
    if (!in.ExpectBytes(header, sizeof header) || in.Remaining() < kAgentAddressLength) {
        return false;
    }
    trap.AgentAddress = static_cast<std::uint8_t*>(plat::AllocBlock(kAgentAddressLength));
    if (trap.AgentAddress == nullptr) {
        return false;
    }
    std::memcpy(trap.AgentAddress, in.Take(kAgentAddressLength), kAgentAddressLength);
    trap.AgentAddressLength = kAgentAddressLength;
    return true;
}

bool ReadTrapPdu(BerReader& in, TrapParam& trap) {
    BerReader pdu(nullptr, 0);
    BerReader list(nullptr, 0);
    std::uint32_t specific = 0;
    if (!in.ReadElement(kTagTrapPdu, pdu, true) || !ReadEnterprise(pdu, trap) ||
        !ReadAgentAddress(pdu, trap) || !pdu.ExpectBytes(kOneByteInteger, sizeof kOneByteInteger) ||
        !pdu.ReadByte(trap.GenericTrap) || !pdu.Expect(kTagInteger) ||
        !ReadIntegerContent(pdu, true, specific) || !pdu.Expect(kTagTimeTicks) ||
        !ReadIntegerContent(pdu, false, trap.TimeStamp) || !pdu.ReadElement(kTagSequence, list, true)) {
        return false;
    }
    trap.SpecificTrap = static_cast<std::uint16_t>(specific);
    return DecodeBindingList(list, kTrapValueBlock, trap.Bindings, trap.BindingCount);
}

}  // namespace

TrapParam* DecodeTrap(const std::uint8_t* data, std::size_t length) {
    if (data == nullptr) {
        return nullptr;
    }
    BerReader whole(data, length);
    BerReader in(nullptr, 0);
    if (!whole.ReadElement(kTagSequence, in, true) || !in.ExpectBytes(kVersion1, sizeof kVersion1)) {
        return nullptr;
    }
    auto* trap = static_cast<TrapParam*>(plat::AllocBlock(sizeof(TrapParam)));
    if (trap == nullptr) {
        return nullptr;
    }
    if (!ReadCommunity(in, *trap) || !ReadTrapPdu(in, *trap)) {
        FreeTrapParam(trap);
        return nullptr;
    }
    return trap;
}

EncodeStatus EncodeTrap(const TrapParam& trap, std::uint8_t* buffer, std::size_t capacity,
                        std::size_t& written) {
    BerWriter out(buffer, capacity);
    if (!PutTrap(out, trap)) {
        return kEncodeCannotWrite;
    }
    written = out.Size();
    std::memmove(buffer, out.Data(), written);
    return kEncodeOk;
}

}  // namespace snmp
