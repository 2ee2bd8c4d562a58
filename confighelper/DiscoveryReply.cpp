#include "confighelper/DiscoveryReply.h"

#include <cstring>

#include "confighelper/BindingValue.h"
#include "confighelper/RecordText.h"
#include "snmp/codec/SnmpValueType.h"
#include "transport/HexCodec.h"

namespace {

constexpr std::size_t kMacBytes = 6;
constexpr std::size_t kIpxBytes = 10;
constexpr const char* kNoAddress = "0.0.0.0";

constexpr std::size_t kSapHeader = 2;
constexpr std::size_t kSapEntry = 64;
constexpr std::size_t kSapNetworkOffset = 50;
constexpr std::uint16_t kSapGeneralResponse = 2;
constexpr std::uint16_t kPrintServerType = 0x0922;

template <std::size_t N>
void SetHex(char (&field)[N], const std::uint8_t* bytes, std::size_t count) {
    static_assert(N >= 2 * kIpxBytes + 1);
    BytesToHexText(field, bytes, count);
}

bool HasNoAddress(const DeviceRecord& record) {
    return std::strcmp(record.ipAddress, kNoAddress) == 0;
}

void FoldKind(DeviceRecord& record, const std::uint8_t* sender, ProtocolMask kind) {
    switch (kind) {
        case kProtocolDlc:
            SetHex(record.macAddress, sender, kMacBytes);
            record.protocolMask |= kProtocolDlc;
            record.preferredProtocol = kProtocolDlc;
            break;
        case kProtocolIpx:
            SetHex(record.ipxAddress, sender, kIpxBytes);
            record.protocolMask |= kProtocolIpx;
            if (record.preferredProtocol == 0 ||
                (record.preferredProtocol == kProtocolIp && HasNoAddress(record))) {
                record.preferredProtocol = kProtocolIpx;
            }
            break;
        case kProtocolIp:
            if (!HasNoAddress(record)) {
                record.protocolMask |= kProtocolIp;
                if (record.preferredProtocol != kProtocolDlc) {
                    record.preferredProtocol = kProtocolIp;
                }
            } else if (record.protocolMask != kProtocolIpx && record.protocolMask != kProtocolDlc) {
                // A card without an IP address is reached over IP only when nothing better is known.
                record.protocolMask |= kProtocolIp;
                if (record.preferredProtocol == 0) {
                    record.preferredProtocol = kProtocolIp;
                }
            }
            break;
    }
}

// The changed record in place of the one found (index -1: added); its index, or none when no memory
// is left for a new one.
std::optional<std::size_t> Keep(DeviceList& list, long found, const DeviceRecord& record) {
    if (found >= 0) {
        list.SetAt(static_cast<std::size_t>(found), record);
        return static_cast<std::size_t>(found);
    }
    if (!list.Add(record)) {
        return std::nullopt;
    }
    return list.GetCount() - 1;
}

}  // namespace

std::optional<std::size_t> ParseDiscoveryReply(const ReqParam& answer, const std::uint8_t* sender,
                                               DeviceList& list, ProtocolMask kind) {
    const std::uint8_t* mac = nullptr;
    const std::uint8_t* address = nullptr;
    std::int32_t category = 0;
    if (answer.ErrorStatus != 0 || answer.BindingCount != 3 || answer.Bindings == nullptr ||
        !BytesValue(answer.Bindings[0], kSnmpOctetString, kMacBytes, mac) ||
        !BytesValue(answer.Bindings[1], kSnmpIpAddress, 4, address) ||
        !IntegerValue(answer.Bindings[2], category)) {
        return std::nullopt;
    }
    char adapterName[2 * kMacBytes + 1];
    BytesToHexText(adapterName, mac, kMacBytes);

    const long found = list.FindLastIndex(adapterName);
    DeviceRecord record = found >= 0 ? *list.GetAt(static_cast<std::size_t>(found)) : DeviceRecord{};
    SetRecordText(record.macAddress, adapterName);
    SetRecordText(record.ipAddress, DottedAddress(address));
    FoldKind(record, sender, kind);
    record.category = static_cast<std::uint8_t>(category);
    return Keep(list, found, record);
}

std::vector<std::size_t> ParseSapReply(const std::uint8_t* packet, std::size_t length, DeviceList& list) {
    std::vector<std::size_t> taken;
    if (length < kSapHeader || ((packet[0] << 8) | packet[1]) != kSapGeneralResponse) {
        return taken;
    }
    for (std::size_t offset = kSapHeader; offset + kSapEntry <= length; offset += kSapEntry) {
        const std::uint8_t* entry = packet + offset;
        if (((entry[0] << 8) | entry[1]) != kPrintServerType) {
            continue;
        }
        char address[2 * kIpxBytes + 1];
        BytesToHexText(address, entry + kSapNetworkOffset, kIpxBytes);
        const char* node = address + 2 * 4;

        const long found = list.FindLastIndex(node);
        DeviceRecord record = found >= 0 ? *list.GetAt(static_cast<std::size_t>(found)) : DeviceRecord{};
        SetRecordText(record.macAddress, node);
        if (record.ipxAddress[0] == '\0') {
            SetRecordText(record.ipxAddress, address);
        }
        record.protocolMask |= kProtocolIpx;
        if (record.preferredProtocol == 0) {
            record.preferredProtocol = kProtocolIpx;
        }
        const std::optional<std::size_t> kept = Keep(list, found, record);
        if (!kept) {
            break;
        }
        taken.push_back(*kept);
    }
    return taken;
}
