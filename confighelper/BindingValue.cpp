#include "confighelper/BindingValue.h"

#include <cstdio>
#include <cstring>

#include "snmp/codec/SnmpValueType.h"

bool IntegerValue(const VarBind& binding, std::int32_t& value) {
    if (binding.ValueType != kSnmpInteger || binding.ValueLength != sizeof value ||
        binding.Value == nullptr) {
        return false;
    }
    std::memcpy(&value, binding.Value, sizeof value);
    return true;
}

bool BytesValue(const VarBind& binding, std::int32_t type, std::size_t length, const std::uint8_t*& bytes) {
    if (binding.ValueType != type || binding.ValueLength < 0 ||
        static_cast<std::size_t>(binding.ValueLength) != length || binding.Value == nullptr) {
        return false;
    }
    bytes = static_cast<const std::uint8_t*>(binding.Value);
    return true;
}

std::string DottedAddress(const std::uint8_t* bytes) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}
