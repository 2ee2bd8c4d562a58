#include "confighelper/DeviceIdentity.h"

#include <cstring>

#include "confighelper/BindingValue.h"
#include "confighelper/RecordText.h"
#include "snmp/codec/SnmpValueType.h"
#include "transport/DeviceRecord.h"
#include "transport/HexCodec.h"

namespace {

constexpr std::size_t kIpxDigits = 20;

template <std::size_t N>
std::optional<std::array<std::uint8_t, N>> Bytes(const VarBind* binding, std::int32_t type) {
    const std::uint8_t* bytes = nullptr;
    if (binding == nullptr || !BytesValue(*binding, type, N, bytes)) {
        return std::nullopt;
    }
    std::array<std::uint8_t, N> value{};
    std::memcpy(value.data(), bytes, N);
    return value;
}

std::optional<std::string> Text(const VarBind* binding) {
    if (binding == nullptr || binding->ValueType != kSnmpOctetString || binding->ValueLength < 0 ||
        (binding->Value == nullptr && binding->ValueLength > 0)) {
        return std::nullopt;
    }
    return std::string(static_cast<const char*>(binding->Value),
                       static_cast<std::size_t>(binding->ValueLength));
}

std::optional<std::int32_t> Integer(const VarBind* binding) {
    std::int32_t value = 0;
    if (binding == nullptr || !IntegerValue(*binding, value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

DeviceIdentity ReadDeviceIdentity(const ReqParam& answer) {
    const VarBind* bindings[kIdentityCount] = {};
    for (int i = 0; i < kIdentityCount && i < answer.BindingCount && answer.Bindings != nullptr; ++i) {
        bindings[i] = &answer.Bindings[i];
    }
    DeviceIdentity identity;
    identity.name = Text(bindings[0]);
    identity.description = Text(bindings[1]);
    identity.printerStatus = Integer(bindings[2]);
    identity.category = Integer(bindings[3]);
    identity.hardwareAddress = Bytes<6>(bindings[4], kSnmpOctetString);
    identity.ipAddress = Bytes<4>(bindings[5], kSnmpIpAddress);
    identity.ipxNetwork = Bytes<4>(bindings[6], kSnmpOctetString);
    identity.ipxNode = Bytes<6>(bindings[7], kSnmpOctetString);
    return identity;
}

void ApplyDeviceIdentity(const DeviceIdentity& identity, DeviceRecord& record) {
    if (identity.name) {
        SetRecordText(record.printServerName, *identity.name);
    }
    if (identity.description) {
        SetRecordText(record.printServerDescription, *identity.description);
    }
    if (identity.printerStatus) {
        record.printerStatus = static_cast<std::int16_t>(*identity.printerStatus & 0xFFFF);
    }
    if (identity.category) {
        record.category = static_cast<std::uint8_t>(*identity.category & 0xFF);
    }
    if (identity.hardwareAddress) {
        BytesToHexText(record.macAddress, identity.hardwareAddress->data(), 6);
    }
    if (identity.ipAddress) {
        SetRecordText(record.ipAddress, DottedAddress(identity.ipAddress->data()));
    }
    if (!identity.ipxNetwork && !identity.ipxNode) {
        return;
    }
    char digits[kIpxDigits + 1];
    if (IsHexText(record.ipxAddress, kIpxDigits)) {
        std::memcpy(digits, record.ipxAddress, kIpxDigits);
    } else {
        std::memset(digits, '0', kIpxDigits);
    }
    char part[13];
    if (identity.ipxNetwork) {
        BytesToHexText(part, identity.ipxNetwork->data(), 4);
        std::memcpy(digits, part, 8);
    }
    if (identity.ipxNode) {
        BytesToHexText(part, identity.ipxNode->data(), 6);
        std::memcpy(digits + 8, part, 12);
    }
    digits[kIpxDigits] = '\0';
    SetRecordText(record.ipxAddress, digits);
}
