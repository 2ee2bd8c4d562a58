#include "snmp/codec/MessageCodec.h"

#include <cstring>

#include "platform/services/GlobalMemory.h"
#include "snmp/codec/BerReader.h"
#include "snmp/codec/BerTags.h"
#include "snmp/codec/BerWriter.h"
#include "snmp/codec/BindingList.h"
#include "snmp/codec/MessageFrame.h"
#include "snmp/codec/ValueDecoder.h"

namespace snmp {

namespace {

constexpr std::int32_t kMaxErrorStatus = 5;
constexpr std::int32_t kMaxErrorIndex = 0xFFFF;

// Error status and error index are INTEGERs of any length the encoder may write (an index of 128 is
// two bytes); a value outside 0 to `max` refuses the message.
bool ReadBoundedInteger(BerReader& in, std::int32_t max, std::int32_t& value) {
    std::uint32_t number = 0;
    if (!in.Expect(kTagInteger) || !ReadIntegerContent(in, true, number)) {
        return false;
    }
    value = static_cast<std::int32_t>(number);
    return value >= 0 && value <= max;
}

bool PutMessage(BerWriter& out, const ReqParam& message) {
    const std::size_t end = out.Size();
    const bool withValues = message.PduType == kPduResponse || message.PduType == kPduSet;
    return EncodeBindingList(out, message.Bindings, message.BindingCount, withValues) &&
           out.PutInteger(kTagInteger, message.ErrorIndex) &&
           out.PutInteger(kTagInteger, message.ErrorStatus) &&
           out.PutInteger(kTagInteger, message.RequestId) &&
           out.PutHeader(static_cast<std::uint8_t>(kTagPduBase + message.PduType), out.Size() - end) &&
           PutMessageFrame(out, message.Community, message.CommunityLength, end);
}

bool ReadPdu(BerReader& in, std::uint32_t acceptedPduTypes, ReqParam& message) {
    std::uint8_t tag = 0;
    std::size_t length = 0;
    if (!in.ReadByte(tag) || tag < kTagPduBase || tag - kTagPduBase > static_cast<int>(kPduSet)) {
        return false;
    }
    message.PduType = tag - kTagPduBase;
    if ((acceptedPduTypes & PduTypeBit(static_cast<SnmpPduType>(message.PduType))) == 0 ||
        !in.ReadLength(length) || length != in.Remaining()) {
        return false;
    }
    std::uint32_t requestId = 0;
    std::int32_t errorStatus = 0;
    std::int32_t errorIndex = 0;
    BerReader list(nullptr, 0);
    if (!in.Expect(kTagInteger) || !ReadIntegerContent(in, true, requestId) ||
        !ReadBoundedInteger(in, kMaxErrorStatus, errorStatus) ||
        !ReadBoundedInteger(in, kMaxErrorIndex, errorIndex) || !in.ReadElement(kTagSequence, list, true)) {
        return false;
    }
    message.RequestId = static_cast<std::int32_t>(requestId);
    message.ErrorStatus = static_cast<std::uint8_t>(errorStatus);
    message.ErrorIndex = static_cast<std::uint16_t>(errorIndex);
    return DecodeBindingList(list, 0, message.Bindings, message.BindingCount);
}

}  // namespace

// Flattened, as the decoder's binding list is: the puts of a message are many and small.
[[gnu::flatten]] EncodeStatus EncodeMessage(const ReqParam& message, std::uint8_t* buffer,
                                            std::size_t capacity, std::size_t& written) {
    if (message.PduType < kPduGet || message.PduType > kPduSet) {
        return kEncodeCannotBuild;
    }
    BerWriter out(buffer, capacity);
    if (!PutMessage(out, message)) {
        return kEncodeCannotWrite;
    }
    written = out.Size();
    std::memmove(buffer, out.Data(), written);
    return kEncodeOk;
}

ReqParam* DecodeMessage(const std::uint8_t* data, std::size_t length, std::uint32_t acceptedPduTypes) {
    auto* message = static_cast<ReqParam*>(plat::AllocRawBlock(sizeof(ReqParam)));
    if (message == nullptr) {
        return nullptr;
    }
    *message = ReqParam{};
    BerReader pdu(nullptr, 0);
    if (!ReadMessageFrame(data, length, pdu, message->Community, message->CommunityLength) ||
        !ReadPdu(pdu, acceptedPduTypes, *message)) {
        FreeReqParam(message);
        return nullptr;
    }
    return message;
}

}  // namespace snmp
