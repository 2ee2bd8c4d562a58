#include "snmp/traps/TrapCodec.h"

#include <cstring>
#include <string_view>

#include "platform/services/GlobalMemory.h"
#include "snmp/codec/BerReader.h"
#include "snmp/codec/BerTags.h"
#include "snmp/codec/BerWriter.h"
#include "snmp/codec/BindingList.h"
#include "snmp/codec/MessageFrame.h"
#include "snmp/codec/ValueDecoder.h"

namespace snmp {

namespace {

constexpr std::size_t kOidBlock = kMaxOidTextLength + 1;
constexpr std::size_t kAgentAddressLength = 4;

bool PutTrap(BerWriter& out, const TrapParam& trap) {
    const std::size_t end = out.Size();
    if (trap.Enterprise == nullptr || trap.AgentAddress == nullptr ||
        trap.AgentAddressLength != kAgentAddressLength) {
        return false;
    }
    const std::uint8_t generic[] = {kTagInteger, 0x01, trap.GenericTrap};
    return EncodeBindingList(out, trap.Bindings, trap.BindingCount, true) &&
           out.PutUnsigned(kTagTimeTicks, trap.TimeStamp) && out.PutInteger(kTagInteger, trap.SpecificTrap) &&
           out.PutBytes(generic, sizeof generic) &&
           out.PutOctets(kTagIpAddress, trap.AgentAddress, kAgentAddressLength) &&
           out.PutObjectId(std::string_view(trap.Enterprise, trap.EnterpriseLength)) &&
           out.PutHeader(kTagTrapPdu, out.Size() - end) &&
           PutMessageFrame(out, trap.Community, trap.CommunityLength, end);
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
        !ReadAgentAddress(pdu, trap) || !ReadOneByteInteger(pdu, trap.GenericTrap) ||
        !pdu.Expect(kTagInteger) || !ReadIntegerContent(pdu, true, specific) || !pdu.Expect(kTagTimeTicks) ||
        !ReadIntegerContent(pdu, false, trap.TimeStamp) || !pdu.ReadElement(kTagSequence, list, true)) {
        return false;
    }
    trap.SpecificTrap = static_cast<std::uint16_t>(specific);
    return DecodeBindingList(list, kTrapValueBlock, trap.Bindings, trap.BindingCount);
}

}  // namespace

TrapParam* DecodeTrap(const std::uint8_t* data, std::size_t length) {
    auto* trap = static_cast<TrapParam*>(plat::AllocBlock(sizeof(TrapParam)));
    BerReader rest(nullptr, 0);
    if (trap != nullptr && (!ReadMessageFrame(data, length, rest, trap->Community, trap->CommunityLength) ||
                            !ReadTrapPdu(rest, *trap))) {
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
