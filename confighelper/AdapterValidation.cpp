#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "confighelper/BindingValue.h"
#include "confighelper/DeadlineReceive.h"
#include "confighelper/DeviceIdentity.h"
#include "confighelper/DeviceStore.h"
#include "confighelper/Halbrin.h"
#include "confighelper/RecordText.h"
#include "confighelper/SnmpMessage.h"
#include "platform/services/DebugOutput.h"
#include "platform/services/ExportGuard.h"
#include "transport/DeviceStorePath.h"
#include "transport/DlcTransport.h"
#include "transport/DottedAddress.h"
#include "transport/HexCodec.h"
#include "transport/IpxTransport.h"
#include "transport/ProtocolMask.h"
#include "transport/UdpTransport.h"
#include "transport/WinsockTable.h"

namespace {

constexpr std::int32_t kHostName = 8;
constexpr std::uint32_t kWaitMs = 1000;

// The IPv4 address of a dotted text or, failing that, of a host name.
std::optional<std::uint32_t> Resolve(const char* name) {
    if (const auto dotted = ParseDottedAddress(name)) {
        return dotted;
    }
    WinsockTable sockets;
    plat::SocketsData data{};
    if (sockets.WSAStartup(plat::MakeVersion(1, 1), &data) != 0) {
        return std::nullopt;
    }
    std::optional<std::uint32_t> address;
    const plat::HostEntry* host = sockets.gethostbyname(name);
    if (host != nullptr && host->length == 4 && host->addresses != nullptr && host->addresses[0] != nullptr) {
        std::uint32_t first = 0;
        std::memcpy(&first, host->addresses[0], sizeof first);
        address = first;
    }
    sockets.WSACleanup();
    return address;
}

// Where the request goes, by address kind; none for a kind or text that names no print server.
struct Target {
    std::unique_ptr<DatagramTransport> transport;
    std::string address;
    ProtocolMask protocol = kProtocolIp;
};

std::optional<Target> MakeTarget(const char* text, std::int32_t kind) {
    Target target;
    switch (kind) {
        case kProtocolIpx:
            if (!IsHexText(text, IpxTransport::kAddressDigits)) {
                return std::nullopt;
            }
            target.address.assign(text, IpxTransport::kAddressDigits);
            target.transport = std::make_unique<IpxTransport>(1, 1, 0, nullptr, nullptr);
            target.protocol = kProtocolIpx;
            return target;
        case kProtocolDlc:
            if (!IsAdapterName(text)) {
                return std::nullopt;
            }
            target.address = text;
            target.transport = std::make_unique<DlcTransport>(1, 1, 0, nullptr, nullptr);
            target.protocol = kProtocolDlc;
            return target;
        case kProtocolIp:
        case kHostName: {
            const auto address = kind == kHostName ? Resolve(text) : ParseDottedAddress(text);
            if (!address) {
                return std::nullopt;
            }
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(&*address);
            target.address = DottedAddress(bytes);
            target.transport = std::make_unique<UdpTransport>(1, 1, 0, nullptr, nullptr);
            return target;
        }
        default:
            return std::nullopt;
    }
}

bool AnyByte(const std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (bytes[i] != 0) {
            return true;
        }
    }
    return false;
}

HelperResult Validate(const char* address, std::int32_t kind, char* resolved, std::uint32_t resolvedSize) {
    if (address == nullptr) {
        return kHelperFailed;
    }
    const std::int32_t requestId = plat::NextRequestId();
    const std::vector<std::uint8_t> request = EncodeRequest(kPduGet, requestId, GetBindings(kIdentityOids));
    std::optional<Target> target = MakeTarget(address, kind);
    if (request.empty() || !target) {
        return kHelperFailed;
    }
    if (target->protocol == kProtocolIp && resolved != nullptr && resolvedSize > target->address.size()) {
        std::memcpy(resolved, target->address.c_str(), target->address.size() + 1);
    }

    DeviceRecord record;
    switch (target->protocol) {
        case kProtocolIpx:
            SetRecordText(record.ipxAddress, target->address);
            break;
        case kProtocolDlc:
            SetRecordText(record.macAddress, target->address);
            break;
        default:
            SetRecordText(record.ipAddress, target->address);
            break;
    }
    DatagramTransport& transport = *target->transport;
    transport.Bind(0);
    if (transport.SendToDefault(request.data(), static_cast<std::uint32_t>(request.size()),
                                target->address.c_str()) != kTransportOk) {
        plat::DebugOutput("IP sendmessage failed");
        return kHelperFailed;
    }
    const Answer answer = AwaitAnswer(transport, plat::TickCount() + kWaitMs, requestId, Refusal::kEnds);
    if (answer == nullptr) {
        plat::DebugOutput("IP receive message failed");
        return kHelperFailed;
    }
    record.protocolMask |= target->protocol;

    const DeviceIdentity identity = ReadDeviceIdentity(*answer);
    ApplyDeviceIdentity(identity, record);
    if (identity.ipAddress && AnyByte(identity.ipAddress->data(), 4)) {
        record.protocolMask |= kProtocolIp;
    }
    if (identity.ipxNetwork && AnyByte(identity.ipxNetwork->data(), 4)) {
        record.protocolMask |= kProtocolIpx;
    }
    if (record.category != 2) {
        return kHelperNotPrintServer;
    }
    const HelperResult stored = StoreDeviceRecord(record);
    if (stored == kHelperOk) {
        plat::DebugOutput("returning success");
    }
    return stored;
}

}  // namespace

HALBRIN_EXPORT HelperResult HelperValidateAdapter(const char* address, std::int32_t kind) {
    return plat::GuardExport(kHelperFailed, kHelperNoMemory,
                             [&] { return Validate(address, kind, nullptr, 0); });
}

HALBRIN_EXPORT HelperResult HelperValidateAdapterResolved(const char* address, std::int32_t kind,
                                                          char* resolved, std::uint32_t resolvedSize) {
    return plat::GuardExport(kHelperFailed, kHelperNoMemory,
                             [&] { return Validate(address, kind, resolved, resolvedSize); });
}
