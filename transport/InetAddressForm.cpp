#include "transport/InetAddressForm.h"

#include <cstring>

#include "transport/DottedAddress.h"

namespace {

plat::SocketAddressIn EndPoint(std::uint32_t address, std::uint16_t port) {
    plat::SocketAddressIn endPoint{};
    endPoint.family = plat::kAfInet;
    endPoint.port = port;
    endPoint.address.address = address;
    return endPoint;
}

}  // namespace

plat::SocketAddressIn InetAddressForm::Local(std::uint16_t port) {
    return EndPoint(plat::kInaddrAny, port);
}

std::optional<plat::SocketAddressIn> InetAddressForm::Destination(const char* text, std::uint16_t port) {
    const std::optional<std::uint32_t> address = ParseDottedAddress(text);
    if (!address || *address == plat::kInaddrAny) {
        return std::nullopt;
    }
    return EndPoint(*address, port);
}

void InetAddressForm::SenderBytes(const plat::SocketAddressIn& from, std::uint8_t* sender) {
    std::memcpy(sender, &from.address.address, sizeof from.address.address);
}
