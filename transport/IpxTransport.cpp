#include "transport/IpxTransport.h"

#include <cstring>

#include "transport/HexCodec.h"

namespace {

// Network 0 (this one), node all ones.
constexpr const char* kBroadcastAddress = "00000000FFFFFFFFFFFF";
constexpr int kNetworkBytes = 4;
constexpr int kNodeBytes = 6;

}  // namespace

IpxTransport::IpxTransport(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                           plat::WindowProc windowProcedure, ModuleInstance instance)
    : SocketTransport(retries, timeOutSeconds, flags, windowProcedure, instance,
                      {plat::kAfIpx, plat::kNsProtoIpx + 4, "ASYNC_IPX_MSG_HANDLER"}) {}

TransportResult IpxTransport::Bind(std::uint16_t socketNumber) {
    plat::SocketAddressIpx local{};
    local.family = plat::kAfIpx;
    local.socket = sockets_.htons(socketNumber);
    return BindTo(&local, sizeof local, socketNumber);
}

TransportResult IpxTransport::Broadcast(const void* data, std::uint32_t length, std::uint16_t socketNumber) {
    return SendPacket(data, length, kBroadcastAddress, socketNumber);
}

TransportResult IpxTransport::SendTo(const void* data, std::uint32_t length, const char* address,
                                     std::uint16_t socketNumber) {
    return SendPacket(data, length, address, socketNumber);
}

TransportResult IpxTransport::SendToDefault(const void* data, std::uint32_t length, const char* address) {
    return SendPacket(data, length, address, kDefaultSocket);
}

TransportResult IpxTransport::SendPacket(const void* data, std::uint32_t length, const char* address,
                                         std::uint16_t socketNumber) {
    if (!open_) {
        return kTransportNotOpen;
    }
    if (!IsHexText(address, kAddressDigits)) {
        return kTransportSendFailed;
    }
    plat::SocketAddressIpx to{};
    to.family = plat::kAfIpx;
    HexTextToBytes(to.network, address, kNetworkBytes);
    HexTextToBytes(to.node, address + 2 * kNetworkBytes, kNodeBytes);
    to.socket = sockets_.htons(socketNumber);
    return SendToAddress(data, length, &to, sizeof to);
}

TransportResult IpxTransport::Receive(void* buffer, std::uint32_t size, std::uint32_t* length,
                                      std::uint8_t* sender, std::uint16_t* socketNumber) {
    plat::SocketAddressIpx from{};
    const TransportResult result = ReceiveFrom(buffer, size, length, &from, sizeof from, false);
    if (result != kTransportOk) {
        return result;
    }
    if (sender != nullptr) {
        std::memcpy(sender, from.network, kNetworkBytes);
        std::memcpy(sender + kNetworkBytes, from.node, kNodeBytes);
    }
    if (socketNumber != nullptr) {
        *socketNumber = sockets_.ntohs(from.socket);
    }
    return kTransportOk;
}

TransportResult IpxTransport::GetLocalAddress(std::uint8_t* address) {
    if (!open_) {
        return kTransportNotOpen;
    }
    plat::SocketAddressIpx local{};
    int localLength = sizeof local;
    if (socket_ == kNoSocket ||
        sockets_.getsockname(socket_, reinterpret_cast<plat::SocketAddress*>(&local), &localLength) ==
            plat::kSocketError ||
        local.socket == 0) {
        return 0;  // not bound yet
    }
    std::memcpy(address, local.network, kNetworkBytes);
    std::memcpy(address + kNetworkBytes, local.node, kNodeBytes);
    return 1;
}
