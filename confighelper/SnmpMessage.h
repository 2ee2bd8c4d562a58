#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/services/RequestId.h"
#include "snmp/codec/ReqParam.h"
#include "snmp/codec/SnmpValueType.h"
#include "transport/DatagramTransport.h"

// The SNMP messages the library builds and reads itself, through the SNMP library's codec exports.

// Room for any datagram: an answer with long names or locations is never too big to take.
inline constexpr std::uint32_t kDatagramRoom = kLargestDatagram;

// One binding of a request: a get or get-next binding carries no value.
struct RequestBinding {
    std::string oid;
    std::int32_t type = kSnmpNull;
    std::vector<std::uint8_t> value;
};

// Encodes a request with the system's community (its id from plat::NextRequestId); empty when it cannot be
// encoded, with the encoder's result (1 or 2) in `status` when it is given.
std::vector<std::uint8_t> EncodeRequest(SnmpPduType type, std::int32_t requestId,
                                        const std::vector<RequestBinding>& bindings,
                                        std::int32_t* status = nullptr);

// Get bindings of the comma-joined objects.
std::vector<RequestBinding> GetBindings(const std::string& oids);

struct AnswerRelease {
    void operator()(ReqParam* answer) const;
};
using Answer = std::unique_ptr<ReqParam, AnswerRelease>;

// A decoded GetResponse, or null when the datagram is not one.
Answer DecodeAnswer(const std::uint8_t* datagram, std::uint32_t length);
