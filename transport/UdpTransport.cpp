#include "transport/UdpTransport.h"

#include <cstring>

#include "transport/DottedAddress.h"
#include "transport/LocalIpv4Address.h"

namespace {

constexpr const char* kBroadcastAddress = "255.255.255.255";

plat::SocketAddressIn InetEndPoint(std::uint32_t address, std::uint16_t port) {
    plat::SocketAddressIn endPoint{};
    endPoint.family = plat::kAfInet;
    endPoint.port = vorsock_htons(port);
    endPoint.address.address = address;
    return endPoint;
}

}  // namespace

UdpTransport::UdpTransport(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                           plat::WindowProc windowProcedure, ModuleInstance instance)
    : SocketTransport(retries, timeOutSeconds, flags, windowProcedure, instance,
                      {plat::kAfInet, plat::kIpProtoUdp, "ASYNC_MSG_HANDLER"}) {}

TransportResult UdpTransport::Bind(std::uint16_t port) {
    const plat::SocketAddressIn local = InetEndPoint(plat::kInaddrAny, port);
    return BindTo(&local, sizeof local, port);
}

TransportResult UdpTransport::Broadcast(const void* data, std::uint32_t length, std::uint16_t port) {
    return SendPacket(data, length, kBroadcastAddress, port);
}

TransportResult UdpTransport::SendTo(const void* data, std::uint32_t length, const char* address,
                                     std::uint16_t port) {
    return SendPacket(data, length, address, port);
}

TransportResult UdpTransport::SendToDefault(const void* data, std::uint32_t length, const char* address) {
    return SendPacket(data, length, address, kDefaultPort);
}

TransportResult UdpTransport::SendPacket(const void* data, std::uint32_t length, const char* address,
                                         std::uint16_t port) {
    if (!open_) {
        return kTransportNotOpen;
    }
    const std::optional<std::uint32_t> destination = ParseDottedAddress(address);
    if (!destination || *destination == plat::kInaddrAny) {
        return kTransportSendFailed;
    }
    const plat::SocketAddressIn to = InetEndPoint(*destination, port);
    return SendToAddress(data, length, &to, sizeof to);
}

TransportResult UdpTransport::Receive(void* buffer, std::uint32_t size, std::uint32_t* length,
                                      std::uint8_t* sender, std::uint16_t* port) {
    plat::SocketAddressIn from{};
    const TransportResult result = ReceiveFrom(buffer, size, length, &from, sizeof from, true);
    if (result != kTransportOk) {
        return result;
    }
    if (sender != nullptr) {
        std::memcpy(sender, &from.address.address, 4);
    }
    if (port != nullptr) {
        *port = vorsock_ntohs(from.port);
    }
    return kTransportOk;
}

TransportResult UdpTransport::GetLocalAddress(std::uint8_t* address) {
    if (!open_) {
        return kTransportNotOpen;
    }
    const std::optional<std::uint32_t> local = LocalIpv4Address();
    if (!local) {
        return 0;
    }
    std::memcpy(address, &*local, 4);
    return 1;
}
