#include "transport/IpxAddressForm.h"

#include <cstring>

#include "transport/HexCodec.h"

namespace {
constexpr int kNetworkBytes = 4;
constexpr int kNodeBytes = 6;
}  // namespace

plat::SocketAddressIpx IpxAddressForm::Local(std::uint16_t socket) {
    plat::SocketAddressIpx local{};
    local.family = plat::kAfIpx;
    local.socket = socket;
    return local;
}

std::optional<plat::SocketAddressIpx> IpxAddressForm::Destination(const char* text, std::uint16_t socket) {
    if (!IsHexText(text, kAddressDigits)) {
        return std::nullopt;
    }
    plat::SocketAddressIpx to = Local(socket);
    HexTextToBytes(to.network, text, kNetworkBytes);
    HexTextToBytes(to.node, text + 2 * kNetworkBytes, kNodeBytes);
    return to;
}

void IpxAddressForm::SenderBytes(const plat::SocketAddressIpx& from, std::uint8_t* sender) {
    std::memcpy(sender, from.network, kNetworkBytes);
    std::memcpy(sender + kNetworkBytes, from.node, kNodeBytes);
}
