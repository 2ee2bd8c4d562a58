#include "snmp/codec/MessageFrame.h"

#include <cstring>

#include "platform/services/GlobalMemory.h"
#include "snmp/codec/BerTags.h"
#include "snmp/codec/ReqParam.h"
#include "snmp/codec/ShortCopy.h"

namespace snmp {

namespace {
constexpr std::uint8_t kVersion1[] = {kTagInteger, 0x01, 0x00};
}  // namespace

bool PutMessageFrame(BerWriter& out, const char* community, std::uint16_t communityLength,
                     std::size_t pduEnd) {
    return (community != nullptr || communityLength == 0) &&
           out.PutOctets(kTagOctetString, community, communityLength) &&
           out.PutBytes(kVersion1, sizeof kVersion1) && out.PutHeader(kTagSequence, out.Size() - pduEnd);
}

bool ReadMessageFrame(const std::uint8_t* data, std::size_t length, BerReader& pdu, char*& community,
                      std::uint16_t& communityLength) {
    if (data == nullptr) {
        return false;  // checked before the reader, whose end is computed from the start
    }
    BerReader whole(data, length);
    BerReader content(nullptr, 0);
    if (!whole.ReadElement(kTagSequence, pdu, true) || !pdu.ExpectBytes(kVersion1, sizeof kVersion1) ||
        !pdu.ReadElement(kTagOctetString, content) || content.Remaining() > kMaxCommunityLength) {
        return false;
    }
    communityLength = static_cast<std::uint16_t>(content.Remaining());
    community = static_cast<char*>(plat::AllocRawBlock(communityLength + 1));
    if (community == nullptr) {
        return false;
    }
    CopyBytes(community, content.Take(communityLength), communityLength);
    community[communityLength] = '\0';
    return true;
}

}  // namespace snmp
