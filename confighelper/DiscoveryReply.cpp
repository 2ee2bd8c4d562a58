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

}  // namespace

bool ParseDiscoveryReply(const ReqParam& answer, const std::uint8_t* sender, DeviceList& list,
                         ProtocolMask kind) {
    const std::uint8_t* mac = nullptr;
    const std::uint8_t* address = nullptr;
    std::int32_t category = 0;
    if (answer.ErrorStatus != 0 || answer.BindingCount != 3 || answer.Bindings == nullptr ||
        !BytesValue(answer.Bindings[0], kSnmpOctetString, kMacBytes, mac) ||
        !BytesValue(answer.Bindings[1], kSnmpIpAddress, 4, address) ||
        !IntegerValue(answer.Bindings[2], category)) {
        return false;
    }
    char adapterName[2 * kMacBytes + 1];
    BytesToHexText(adapterName, mac, kMacBytes);

    DeviceRecord* found = list.FindByMac(adapterName);
    DeviceRecord record = found != nullptr ? *found : DeviceRecord{};
    SetRecordText(record.macAddress, adapterName);
    SetRecordText(record.ipAddress, DottedAddress(address));
    FoldKind(record, sender, kind);
    record.category = static_cast<std::uint8_t>(category);
    if (found != nullptr) {
        *found = record;
        return true;
    }
    return list.Add(record);
}

std::size_t ParseSapReply(const std::uint8_t* packet, std::size_t length, DeviceList& list) {
    if (length < kSapHeader || ((packet[0] << 8) | packet[1]) != kSapGeneralResponse) {
        return 0;
    }
    std::size_t taken = 0;
    for (std::size_t offset = kSapHeader; offset + kSapEntry <= length; offset += kSapEntry) {
        const std::uint8_t* entry = packet + offset;
        if (((entry[0] << 8) | entry[1]) != kPrintServerType) {
            continue;
        }
        char address[2 * kIpxBytes + 1];
        BytesToHexText(address, entry + kSapNetworkOffset, kIpxBytes);
        const char* node = address + 2 * 4;

        DeviceRecord* found = list.FindByMac(node);
        DeviceRecord record = found != nullptr ? *found : DeviceRecord{};
        SetRecordText(record.macAddress, node);
        if (record.ipxAddress[0] == '\0') {
            SetRecordText(record.ipxAddress, address);
        }
        record.protocolMask |= kProtocolIpx;
        if (record.preferredProtocol == 0) {
            record.preferredProtocol = kProtocolIpx;
        }
        if (found != nullptr) {
            *found = record;
        } else if (!list.Add(record)) {
            break;
        }
        ++taken;
    }
    return taken;
}
