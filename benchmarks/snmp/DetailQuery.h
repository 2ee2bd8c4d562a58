#pragma once

// The detail query that detection sends every print server it finds: a get of eight objects, and
// the GetResponse a print server gives, with typical values. Every SNMP codec benchmark measures
// these same messages.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "snmp/codec/MessageCodec.h"
#include "snmp/codec/ReqParam.h"
#include "snmp/codec/SnmpValueType.h"

namespace snmp::bench {

inline const std::array<std::string, 8> kDetailOids = {
    "1.3.6.1.2.1.1.5.0",
    "1.3.6.1.2.1.1.6.0",
    "1.3.6.1.4.1.32473.11.5.1.1.9.1.0",
    "1.3.6.1.4.1.32473.11.5.1.12.6.1.6.0",
    "1.3.6.1.2.1.2.2.1.6.2",
    "1.3.6.1.4.1.32473.11.5.1.12.2.5.0",
    "1.3.6.1.4.1.23.2.5.1.1.1.3.1",
    "1.3.6.1.4.1.23.2.5.1.1.1.4.1",
};

inline constexpr std::int32_t kDetailRequestId = 4711;

// The eight bindings of the query and, for the answer, their values.
struct DetailQuery {
    char community[12] = "k!r@o#v$e%t";
    std::string name = "PRINTSRV-0A1B2C";
    std::string location = "Building 4, second floor, copy room";
    std::int32_t status = 1025;
    std::int32_t category = 2;
    std::uint8_t mac[6] = {0x00, 0x40, 0xAF, 0x0A, 0x1B, 0x2C};
    std::uint8_t ip[4] = {192, 168, 10, 57};
    std::uint8_t ipxNet[4] = {0x00, 0x00, 0x12, 0x34};
    std::uint8_t ipxNode[6] = {0x00, 0x40, 0xAF, 0x0A, 0x1B, 0x2C};
    VarBind bindings[8];

    // The record of a get (values unused) or of the GetResponse; it points into this query.
    ReqParam Record(std::int32_t pduType) {
        void* values[] = {name.data(), location.data(), &status, &category, mac, ip, ipxNet, ipxNode};
        const std::int32_t types[] = {kSnmpOctetString, kSnmpOctetString, kSnmpInteger,     kSnmpInteger,
                                      kSnmpOctetString, kSnmpIpAddress,   kSnmpOctetString, kSnmpOctetString};
        const std::int32_t lengths[] = {static_cast<std::int32_t>(name.size()),
                                        static_cast<std::int32_t>(location.size()),
                                        4,
                                        4,
                                        6,
                                        4,
                                        4,
                                        6};
        for (int i = 0; i < 8; ++i) {
            bindings[i] =
                VarBind{const_cast<char*>(kDetailOids[i].data()),
                        static_cast<std::int32_t>(kDetailOids[i].size()), types[i], values[i], lengths[i]};
        }
        return ReqParam{community, 11, pduType, kDetailRequestId, 0, 0, 8, bindings};
    }
};

// The GetResponse as a print server sends it.
inline std::vector<std::uint8_t> EncodedDetailResponse() {
    DetailQuery query;
    std::vector<std::uint8_t> message(1024);
    std::size_t written = 0;
    EncodeMessage(query.Record(kPduResponse), message.data(), message.size(), written);
    message.resize(written);
    return message;
}

}  // namespace snmp::bench
