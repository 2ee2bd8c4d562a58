#include "transport/DeviceStoreReader.h"

#include <cstring>

#include "platform/store/ConfigStore.h"
#include "transport/DeviceStorePath.h"

namespace {

// A number value's low byte; false when it cannot be read.
bool ReadByte(plat::StoreKey key, const char* name, std::uint8_t& value) {
    std::uint32_t number = 0;
    std::uint32_t size = sizeof number;
    if (plat::StoreQueryValue(key, name, nullptr, &number, &size) != plat::kStoreOk) {
        return false;
    }
    value = static_cast<std::uint8_t>(number & 0xFFu);
    return true;
}

// A text of at most kAddressSize - 1 characters; a longer one is not read and the field keeps what it
// held. The stored bytes need not carry their terminator.
bool ReadAddressText(plat::StoreKey key, const char* name, char (&field)[DeviceRecord::kAddressSize]) {
    char text[DeviceRecord::kAddressSize] = {};
    std::uint32_t size = sizeof text;
    if (plat::StoreQueryValue(key, name, nullptr, text, &size) != plat::kStoreOk) {
        return false;
    }
    const std::size_t length = strnlen(text, size);
    if (length >= sizeof text) {
        return false;
    }
    std::memcpy(field, text, length);
    field[length] = '\0';
    return true;
}

}  // namespace

TransportResult HelperGetRegNPCDetails(const char* adapterName, DeviceRecord& record) {
    const std::string path = DeviceStoreEntryPath(adapterName);
    plat::StoreKey key = 0;
    if (path.empty() || plat::StoreOpenKey(plat::kStoreLocalMachine, path.c_str(), plat::kStoreRead, &key) !=
                            plat::kStoreOk) {
        return kDeviceStoreFailed;
    }
    ReadByte(key, "cProtocols", record.protocolMask);
    if (!ReadByte(key, "pProtocol", record.preferredProtocol)) {
        record.preferredProtocol = record.protocolMask;
    }
    ReadAddressText(key, "IPX Address", record.ipxAddress);
    ReadAddressText(key, "IP Address", record.ipAddress);
    const bool haveMac = ReadAddressText(key, "MAC Address", record.macAddress);
    plat::StoreCloseKey(key);
    return haveMac ? kTransportOk : kDeviceStoreFailed;
}
