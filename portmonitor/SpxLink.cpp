#include "portmonitor/SpxLink.h"

#include <cstring>

#include "transport/HexCodec.h"

namespace {
constexpr std::size_t kIpxAddressDigits = 20;
}

bool SpxLink::Plausible(const char* address) const {
    return std::strlen(address) == kIpxAddressDigits && IsHexText(address, kIpxAddressDigits);
}

bool SpxLink::Resolve(const char* address, std::uint16_t socket, plat::SocketAddress& peer, int& length) {
    plat::SocketAddressIpx ipx{};
    ipx.family = plat::kAfIpx;
    HexTextToBytes(ipx.network, address, sizeof ipx.network);
    HexTextToBytes(ipx.node, address + 2 * sizeof ipx.network, sizeof ipx.node);
    ipx.socket = htons(socket);
    std::memcpy(&peer, &ipx, sizeof ipx);
    length = sizeof ipx;
    return true;
}
