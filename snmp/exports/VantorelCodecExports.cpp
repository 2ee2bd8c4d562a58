// The codec's and the text interface's exports; the request layer's exchange exports live beside.
#include <cstddef>

#include "platform/services/ExportGuard.h"
#include "platform/services/GlobalMemory.h"
#include "snmp/codec/MessageCodec.h"
#include "snmp/exports/Vantorel.h"
#include "snmp/request/AnswerFormatter.h"
#include "snmp/request/RequestEncoder.h"
#include "snmp/request/SnmpResult.h"
#include "snmp/request/ValueTextReader.h"
#include "snmp/traps/TrapCodec.h"

namespace {

std::size_t Capacity(const std::int32_t* size) {
    return size != nullptr && *size > 0 ? static_cast<std::size_t>(*size) : 0;
}

}  // namespace

extern "C" {

std::uint8_t* HelperFormSNMPPacket(std::int32_t operation, char* oidList, std::int32_t oidLength,
                                   char* valueText, std::int32_t* valueSize, std::int32_t count,
                                   std::int32_t* outLength) {
    return plat::GuardExport(nullptr, [&]() -> std::uint8_t* {
        snmp::RequestText text;
        text.operation = operation;
        text.oidList = oidList;
        text.oidLength = Capacity(&oidLength);
        text.values = valueText;
        text.valueSize = Capacity(valueSize);
        text.count = count;
        snmp::EncodedRequest request;
        if (outLength == nullptr || snmp::EncodeRequest(text, request) != kSnmpOk) {
            return nullptr;
        }
        *outLength = request.length;
        return request.message;
    });
}

std::int32_t HelperSNMPDecodePacket(const std::uint8_t* packet, std::int32_t packetLength, char* oidList,
                                    std::int32_t* oidSize, char* valueText, std::int32_t* valueSize) {
    return plat::GuardExport(kSnmpDecodeFailure, kSnmpNoMemory, [&]() -> std::int32_t {
        ReqParam* answer =
            packetLength > 0 ? snmp::DecodeMessage(packet, packetLength, snmp::kAcceptResponse) : nullptr;
        if (answer == nullptr) {
            return kSnmpDecodeFailure;
        }
        std::int32_t result = kSnmpAgentError;
        if (answer->ErrorStatus == 0) {
            snmp::AnswerSizes sizes;
            const bool fitted = snmp::FormatAnswer(*answer, oidList, Capacity(oidSize), valueText,
                                                   Capacity(valueSize), sizes);
            if (oidSize != nullptr) {
                *oidSize = static_cast<std::int32_t>(sizes.oidSize);
            }
            if (valueSize != nullptr) {
                *valueSize = static_cast<std::int32_t>(sizes.valueSize);
            }
            result = fitted ? kSnmpOk : kSnmpBufferTooSmall;
        }
        snmp::FreeReqParam(answer);
        return result;
    });
}

std::int32_t HelperSnmpEncodePdu(const ReqParam* request, std::uint8_t* buffer, std::uint16_t* length) {
    return plat::GuardExport(snmp::kEncodeCannotBuild, [&]() -> std::int32_t {
        if (request == nullptr || request->PduType == kPduResponse) {
            return snmp::kEncodeCannotBuild;
        }
        if (buffer == nullptr || length == nullptr) {
            return snmp::kEncodeCannotWrite;
        }
        // A request carries error status and error index 0 whatever the record holds.
        ReqParam message = *request;
        message.ErrorStatus = 0;
        message.ErrorIndex = 0;
        std::size_t written = 0;
        const snmp::EncodeStatus status = snmp::EncodeMessage(message, buffer, *length, written);
        if (status == snmp::kEncodeOk) {
            *length = static_cast<std::uint16_t>(written);
        }
        return status;
    });
}

ReqParam* HelperSnmpDecodePdu(const std::uint8_t* buffer, std::int32_t length) {
    return plat::GuardExport(nullptr, [&]() -> ReqParam* {
        return length > 0 ? snmp::DecodeMessage(buffer, length, snmp::kAcceptResponse) : nullptr;
    });
}

void HelperFreeReqParam(ReqParam* record) {
    plat::GuardExport([&] { snmp::FreeReqParam(record); });
}

TrapParam* HelperSnmpDecodeTrapPdu(const std::uint8_t* buffer, std::int32_t length) {
    return plat::GuardExport(nullptr, [&]() -> TrapParam* {
        return length > 0 ? snmp::DecodeTrap(buffer, length) : nullptr;
    });
}

void* HelperDecodeValue(char** cursor, std::int32_t* type, std::int32_t* length) {
    return plat::GuardExport(nullptr, [&]() -> void* {
        if (cursor == nullptr || *cursor == nullptr || type == nullptr || length == nullptr) {
            return nullptr;
        }
        snmp::ValueTextReader reader(*cursor, Capacity(length));
        snmp::ValueItem item;
        if (!reader.ReadItem(item)) {
            *length = 0;
            return nullptr;
        }
        *type = item.type;
        *length = item.length;
        *cursor = reader.Finished() ? nullptr : const_cast<char*>(reader.Cursor());
        return item.value;
    });
}

}  // extern "C"
