#include "transport/IpxTransport.h"

IpxTransport::IpxTransport(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                           plat::WindowProc windowProcedure, ModuleInstance instance)
    : SocketTransport(retries, timeOutSeconds, flags, windowProcedure, instance) {}

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
    IpxAddressForm::SenderBytes(local, address);
    return 1;
}
