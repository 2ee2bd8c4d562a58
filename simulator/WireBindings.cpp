#include "simulator/WireBindings.h"

#include <cstring>

#include "snmp/codec/SnmpValueType.h"

namespace sim {

namespace {

std::optional<MibValue> ValueFromWire(const VarBind& binding) {
    if (binding.ValueLength < 0 || (binding.Value == nullptr && binding.ValueLength != 0)) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const uint8_t*>(binding.Value);
    const auto length = static_cast<size_t>(binding.ValueLength);
    const bool numeric = binding.ValueType == kSnmpInteger || binding.ValueType == kSnmpCounter ||
                         binding.ValueType == kSnmpGauge || binding.ValueType == kSnmpTimeTicks;
    uint32_t number = 0;
    if (numeric && !snmp::ReadBindingNumber(binding, number)) {
        return std::nullopt;
    }
    switch (binding.ValueType) {
        case kSnmpInteger:
            return MibValue::Integer(static_cast<int32_t>(number));
        case kSnmpCounter:
            return MibValue::Counter(number);
        case kSnmpGauge:
            return MibValue::Gauge(number);
        case kSnmpTimeTicks:
            return MibValue::Ticks(number);
        case kSnmpOctetString:
            return MibValue::Bytes(bytes, length);
        case kSnmpIpAddress:
            if (length != 4) {
                return std::nullopt;
            }
            return MibValue::Ip({bytes[0], bytes[1], bytes[2], bytes[3]});
        case kSnmpObjectId: {
            std::optional<Oid> oid =
                Oid::Parse(std::string_view(static_cast<const char*>(binding.Value), length));
            return oid ? std::optional<MibValue>(MibValue::ObjectId(*oid)) : std::nullopt;
        }
        case kSnmpNull:
            return MibValue::None();
        default:
            return std::nullopt;
    }
}

}  // namespace

ReceivedBinding FromWire(const VarBind& binding) {
    ReceivedBinding received;
    if (binding.Oid != nullptr && binding.OidLength > 0) {
        received.oid = Oid::Parse(std::string_view(binding.Oid, static_cast<size_t>(binding.OidLength)));
    }
    received.value = ValueFromWire(binding);
    return received;
}

const std::string& WireBindings::Keep(std::string bytes) {
    return storage_.emplace_back(std::move(bytes));
}

void WireBindings::Add(const Oid& oid, const MibValue& value) {
    const std::string& oidText = Keep(oid.ToText());
    std::string bytes;
    switch (value.type) {
        case ValueType::Integer:
        case ValueType::Counter:
        case ValueType::Gauge:
        case ValueType::TimeTicks: {
            auto number = static_cast<uint32_t>(value.number);
            bytes.assign(reinterpret_cast<const char*>(&number), sizeof number);
            break;
        }
        case ValueType::ObjectId:
            bytes = value.oid.ToText();
            break;
        default:
            bytes = value.bytes;
            break;
    }
    const std::string& kept = Keep(std::move(bytes));
    bindings_.push_back(VarBind{const_cast<char*>(oidText.data()), static_cast<int32_t>(oidText.size()),
                                static_cast<int32_t>(value.type), const_cast<char*>(kept.data()),
                                static_cast<int32_t>(kept.size())});
}

void WireBindings::Echo(const VarBind& binding) {
    bindings_.push_back(binding);
}

}  // namespace sim
