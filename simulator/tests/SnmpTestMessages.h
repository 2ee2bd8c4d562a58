#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "simulator/MibValue.h"
#include "snmp/codec/ReqParam.h"

namespace sim::test {

inline const std::string SystemCommunity = "k!r@o#v$e%t";

using Pairs = std::vector<std::pair<std::string, MibValue>>;

// A request as the console's codec encodes it (gets carry no values).
std::vector<uint8_t> EncodeRequest(SnmpPduType type, int32_t requestId, const Pairs& bindings,
                                   const std::string& community = SystemCommunity);
std::vector<uint8_t> EncodeGet(int32_t requestId, const std::vector<std::string>& oids);

struct Answer {
    int32_t requestId = 0;
    int errorStatus = 0;
    int errorIndex = 0;
    Pairs bindings;
};

// nullopt when the bytes are no GetResponse.
std::optional<Answer> DecodeAnswer(const std::vector<uint8_t>& bytes);

struct Trap {
    std::string enterprise;
    std::vector<uint8_t> agent;
    int generic = 0;
    int specific = 0;
    Pairs bindings;
};

std::optional<Trap> DecodeTrapMessage(const std::vector<uint8_t>& bytes);

}  // namespace sim::test
