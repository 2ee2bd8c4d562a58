#pragma once

#include <cstddef>
#include <cstdint>

#include "snmp/codec/VarBind.h"

// PDU types of a ReqParam (the low bits of the PDU tag 0xA0 + type).
enum SnmpPduType : std::int32_t {
    kPduGet = 0,
    kPduGetNext = 1,
    kPduResponse = 2,
    kPduSet = 3,
};

// One SNMPv1 message. A decoded record is made of separate memory blocks (plat::AllocBlock) so that
// a receiver in another library can free it block by block: the record, the community (terminated),
// the binding array (one record per binding) and each binding's object identifier text and value
// (both terminated by a spare zero byte). Each block is as large as what it holds (an identifier's
// text block as large as the longest text its content can give): no reader needs room beyond it,
// and the decoder makes many of them.
struct ReqParam {
    char* Community;  // not necessarily terminated when a caller fills it
    std::uint16_t CommunityLength;
    std::int32_t PduType;  // SnmpPduType
    std::int32_t RequestId;
    std::uint8_t ErrorStatus;  // 0 to 5
    std::uint16_t ErrorIndex;
    std::uint16_t BindingCount;
    VarBind* Bindings;
};

namespace snmp {

// Limits of a decoded message; anything beyond them is refused.
inline constexpr std::size_t kMaxBindings = 40;
inline constexpr std::size_t kMaxCommunityLength = 255;
inline constexpr std::size_t kMaxOidTextLength = 511;
// The largest content the encoder writes for a community, an object identifier or a value.
inline constexpr std::size_t kMaxElementContent = 256;

// Frees a decoded record block by block; null is ignored. Inline, so that a library that receives
// records frees them without linking the codec.
inline void FreeReqParam(ReqParam* message) {
    if (message == nullptr) {
        return;
    }
    plat::FreeBlock(message->Community);
    FreeBindingList(message->Bindings, message->BindingCount);
    plat::FreeBlock(message);
}

}  // namespace snmp
