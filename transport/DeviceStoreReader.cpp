#include "transport/DeviceStoreReader.h"

#include <array>
#include <cstring>
#include <optional>

#include "platform/store/StoreKeptRead.h"
#include "platform/store/StoreKeyHandle.h"
#include "transport/DeviceStorePath.h"

namespace {

using AddressText = std::array<char, DeviceRecord::kAddressSize>;

// What the entry holds of the record's fields; a field that cannot be read is left out.
struct EntryFields {
    bool opened = false;
    std::optional<std::uint8_t> protocolMask;
    std::optional<std::uint8_t> preferredProtocol;
    std::optional<AddressText> ipxAddress;
    std::optional<AddressText> ipAddress;
    std::optional<AddressText> macAddress;
};

// A number value's low byte.
std::optional<std::uint8_t> ReadByte(const plat::StoreKeyHandle& key, const char* name) {
    const std::optional<std::uint32_t> number = key.ReadNumber(name);
    if (!number) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*number & 0xFFu);
}

// A text of at most kAddressSize - 1 characters; a longer one is not read. The stored bytes need not
// carry their terminator.
std::optional<AddressText> ReadAddressText(const plat::StoreKeyHandle& key, const char* name) {
    const std::optional<std::string> text = key.ReadTextWithin(name, DeviceRecord::kAddressSize);
    if (!text) {
        return std::nullopt;
    }
    const std::size_t length = strnlen(text->c_str(), text->size());
    AddressText field{};
    if (length >= field.size()) {
        return std::nullopt;
    }
    std::memcpy(field.data(), text->data(), length);
    return field;
}

EntryFields ReadEntry(const char* adapterName) {
    EntryFields entry;
    const auto key = OpenDeviceStoreEntry(adapterName);
    if (!key) {
        return entry;
    }
    entry.opened = true;
    entry.protocolMask = ReadByte(*key, "cProtocols");
    entry.preferredProtocol = ReadByte(*key, "pProtocol");
    entry.ipxAddress = ReadAddressText(*key, "IPX Address");
    entry.ipAddress = ReadAddressText(*key, "IP Address");
    entry.macAddress = ReadAddressText(*key, "MAC Address");
    return entry;
}

// The thread's last entry read, kept while the store is unchanged: every exchange with a print server
// reads its entry, most often the same one as the exchange before.
const EntryFields& ReadKeptEntry(const char* adapterName) {
    struct Kept {
        char adapterName[kAdapterNameLength + 1] = {};
        plat::StoreKeptRead<EntryFields> entry;
    };
    thread_local Kept kept;
    if (std::strcmp(kept.adapterName, adapterName) != 0) {
        std::memcpy(kept.adapterName, adapterName, sizeof kept.adapterName);
        kept.entry.Forget();
    }
    return kept.entry.Get([adapterName] { return ReadEntry(adapterName); });
}

void Put(const std::optional<AddressText>& text, char (&field)[DeviceRecord::kAddressSize]) {
    if (text) {
        std::memcpy(field, text->data(), sizeof field);
    }
}

}  // namespace

TransportResult HelperGetRegNPCDetails(const char* adapterName, DeviceRecord& record) {
    if (!IsAdapterName(adapterName)) {
        return kDeviceStoreFailed;
    }
    const EntryFields& entry = ReadKeptEntry(adapterName);
    if (!entry.opened) {
        return kDeviceStoreFailed;
    }
    record.protocolMask = entry.protocolMask.value_or(record.protocolMask);
    record.preferredProtocol = entry.preferredProtocol.value_or(record.protocolMask);
    Put(entry.ipxAddress, record.ipxAddress);
    Put(entry.ipAddress, record.ipAddress);
    Put(entry.macAddress, record.macAddress);
    return entry.macAddress ? kTransportOk : kDeviceStoreFailed;
}
