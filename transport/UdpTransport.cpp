#include "transport/UdpTransport.h"

#include <cstring>

#include "transport/LocalIpv4Address.h"

UdpTransport::UdpTransport(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                           plat::WindowProc windowProcedure, ModuleInstance instance)
    : SocketTransport(retries, timeOutSeconds, flags, windowProcedure, instance) {}

TransportResult UdpTransport::GetLocalAddress(std::uint8_t* address) {
    if (!open_) {
        return kTransportNotOpen;
    }
    const std::optional<std::uint32_t> local = LocalIpv4Address();
    if (!local) {
        return 0;
    }
    std::memcpy(address, &*local, sizeof *local);
    return 1;
}
