#include "simulator/MibValue.h"

namespace sim {

namespace {

MibValue Numeric(ValueType type, int64_t number) {
    MibValue value;
    value.type = type;
    value.number = number;
    return value;
}

}  // namespace

MibValue MibValue::Integer(int32_t value) {
    return Numeric(ValueType::Integer, value);
}
MibValue MibValue::Counter(uint32_t value) {
    return Numeric(ValueType::Counter, value);
}
MibValue MibValue::Gauge(uint32_t value) {
    return Numeric(ValueType::Gauge, value);
}
MibValue MibValue::Ticks(uint32_t value) {
    return Numeric(ValueType::TimeTicks, value);
}

MibValue MibValue::Text(std::string text) {
    MibValue value;
    value.type = ValueType::OctetString;
    value.bytes = std::move(text);
    return value;
}

MibValue MibValue::Bytes(const uint8_t* data, size_t size) {
    return Text(std::string(reinterpret_cast<const char*>(data), size));
}

MibValue MibValue::Ip(const Ipv4& address) {
    MibValue value;
    value.type = ValueType::IpAddress;
    value.bytes.assign(reinterpret_cast<const char*>(address.data()), address.size());
    return value;
}

MibValue MibValue::ObjectId(Oid oid) {
    MibValue value;
    value.type = ValueType::ObjectId;
    value.oid = std::move(oid);
    return value;
}

MibValue MibValue::None() {
    return MibValue();
}

}  // namespace sim
