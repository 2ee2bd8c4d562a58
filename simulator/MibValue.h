#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "simulator/Oid.h"

namespace sim {

// The SNMPv1 value kinds a card holds, numbered as the system's value text numbers them.
enum class ValueType : uint8_t {
    Integer = 1,
    OctetString = 2,
    IpAddress = 3,
    Opaque = 4,
    Counter = 5,
    Gauge = 6,
    TimeTicks = 7,
    ObjectId = 8,
    Null = 9,
};

using Ipv4 = std::array<uint8_t, 4>;
using Mac = std::array<uint8_t, 6>;

// One object value. Numbers of every numeric kind live in `number` (counters, gauges and time
// ticks as unsigned 32-bit, integers as signed 32-bit); octet strings, opaque values and IP
// addresses in `bytes`; object identifiers in `oid`.
struct MibValue {
    ValueType type = ValueType::Null;
    int64_t number = 0;
    std::string bytes;
    Oid oid;

    static MibValue Integer(int32_t value);
    static MibValue Text(std::string text);
    static MibValue Bytes(const uint8_t* data, size_t size);
    static MibValue Ip(const Ipv4& address);
    static MibValue Counter(uint32_t value);
    static MibValue Gauge(uint32_t value);
    static MibValue Ticks(uint32_t value);
    static MibValue ObjectId(Oid value);
    static MibValue None();

    bool operator==(const MibValue&) const = default;
};

}  // namespace sim
