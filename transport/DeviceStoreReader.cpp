#include "transport/DeviceStoreReader.h"

#include <cstring>

#include "platform/store/StoreKeyHandle.h"
#include "transport/DeviceStorePath.h"

namespace {

// A number value's low byte; false when it cannot be read.
bool ReadByte(const plat::StoreKeyHandle& key, const char* name, std::uint8_t& value) {
    const std::optional<std::uint32_t> number = key.ReadNumber(name);
    if (!number) {
        return false;
    }
    value = static_cast<std::uint8_t>(*number & 0xFFu);
    return true;
}

// A text of at most kAddressSize - 1 characters; a longer one is not read and the field keeps what it
// held. The stored bytes need not carry their terminator.
bool ReadAddressText(const plat::StoreKeyHandle& key, const char* name,
                     char (&field)[DeviceRecord::kAddressSize]) {
    const std::optional<std::string> text = key.ReadTextWithin(name, DeviceRecord::kAddressSize);
    if (!text) {
        return false;
    }
    const std::size_t length = strnlen(text->c_str(), text->size());
    if (length >= sizeof field) {
        return false;
    }
    std::memcpy(field, text->data(), length);
    field[length] = '\0';
    return true;
}

}  // namespace

TransportResult HelperGetRegNPCDetails(const char* adapterName, DeviceRecord& record) {
    const auto key = OpenDeviceStoreEntry(adapterName);
    if (!key) {
        return kDeviceStoreFailed;
    }
    ReadByte(*key, "cProtocols", record.protocolMask);
    if (!ReadByte(*key, "pProtocol", record.preferredProtocol)) {
        record.preferredProtocol = record.protocolMask;
    }
    ReadAddressText(*key, "IPX Address", record.ipxAddress);
    ReadAddressText(*key, "IP Address", record.ipAddress);
    return ReadAddressText(*key, "MAC Address", record.macAddress) ? kTransportOk : kDeviceStoreFailed;
}
