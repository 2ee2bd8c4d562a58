#include "platform/sock/IpxSocket.h"

#include <cstring>

#include "platform/lan/LanEngine.h"
#include "platform/lan/LanSettings.h"
#include "platform/sock/AddressForms.h"
#include "platform/sock/SocketError.h"

namespace plat {

std::shared_ptr<IpxEndpoint> IpxSocket::Endpoint() const {
    std::lock_guard guard(endpointLock_);
    return endpoint_;
}

int IpxSocket::Open(const HardwareAddress& station, std::uint16_t socket) {
    int error = 0;
    std::unique_ptr<IpxEndpoint> endpoint = IpxEndpoint::Open(station, socket, error);
    if (!endpoint) {
        return SocketErrorNumber(error);
    }
    {
        std::lock_guard guard(endpointLock_);
        if (endpoint_) {
            return kWsaEinval;
        }
        endpoint_ = std::move(endpoint);
    }
    DescriptorReady();
    return 0;
}

int IpxSocket::Bind(const SocketAddress* address, int length) {
    IpxAddress wanted;
    if (int error = IpxFromInterface(address, length, wanted); error != 0) {
        return Fail(error);
    }
    if (Endpoint()) {
        return Fail(kWsaEinval);
    }
    if (wanted.network != 0 && wanted.network != LocalIpxNetwork()) {
        return Fail(kWsaEaddrnotavail);
    }
    HardwareAddress station = wanted.node.IsZero() ? LocalStationAddress() : wanted.node;
    if (station.IsBroadcast()) {
        return Fail(kWsaEaddrnotavail);
    }
    int error = Open(station, wanted.socket);
    return error == 0 ? 0 : Fail(error);
}

int IpxSocket::Connect(const SocketAddress* address, int length) {
    IpxAddress peer;
    if (int error = IpxFromInterface(address, length, peer); error != 0) {
        return Fail(error);
    }
    std::lock_guard guard(endpointLock_);
    peer_ = peer;
    return 0;
}

int IpxSocket::Send(const char* buffer, int length, int flags) {
    std::optional<IpxAddress> peer;
    {
        std::lock_guard guard(endpointLock_);
        peer = peer_;
    }
    if (!peer) {
        return Fail(kWsaEnotconn);
    }
    SocketAddress address;
    int addressLength = sizeof address;
    IpxToInterface(*peer, &address, &addressLength);
    return SendTo(buffer, length, flags, &address, addressLength);
}

int IpxSocket::SendTo(const char* buffer, int length, int flags, const SocketAddress* to, int toLength) {
    if (to == nullptr) {
        return Send(buffer, length, flags);
    }
    IpxAddress destination;
    if (int error = IpxFromInterface(to, toLength, destination); error != 0) {
        return Fail(error);
    }
    if ((buffer == nullptr && length > 0) || length < 0) {
        return Fail(kWsaEfault);
    }
    if (static_cast<std::size_t>(length) > kIpxMaxData) {
        return Fail(kWsaEmsgsize);
    }
    if (destination.node.IsBroadcast() && !OptionSet(kSoBroadcast)) {
        return Fail(kWsaEacces);
    }
    if (!Endpoint()) {
        // Sending from an unbound socket binds it to a free socket number.
        if (int error = Open(LocalStationAddress(), 0); error != 0 && error != kWsaEinval) {
            return Fail(error);
        }
    }
    auto data = reinterpret_cast<const std::uint8_t*>(buffer);
    int error =
        Endpoint()->SendTo(destination, packetType_, std::span(data, static_cast<std::size_t>(length)));
    return error == 0 ? length : Fail(SocketErrorNumber(error));
}

int IpxSocket::Receive(char* buffer, int length, int flags, SocketAddress* from, int* fromLength,
                       bool* partial) {
    std::shared_ptr<IpxEndpoint> endpoint = Endpoint();
    if (!endpoint) {
        return Fail(kWsaEinval);
    }
    if ((buffer == nullptr && length > 0) || length < 0 ||
        (from != nullptr &&
         (fromLength == nullptr || *fromLength < static_cast<int>(sizeof(SocketAddressIpx))))) {
        return Fail(kWsaEfault);
    }
    for (;;) {
        auto datagram = endpoint->Receive((flags & kMsgPeek) != 0);
        Received();
        if (datagram) {
            std::size_t copied = std::min(datagram->data.size(), static_cast<std::size_t>(length));
            if (copied > 0) {  // an empty datagram has no bytes to copy from, nor an empty buffer room
                std::memcpy(buffer, datagram->data.data(), copied);
            }
            if (from != nullptr) {
                IpxToInterface(datagram->source, from, fromLength);
            }
            bool cut = copied < datagram->data.size();
            if (partial != nullptr) {
                *partial = cut;
            } else if (cut) {
                return Fail(kWsaEmsgsize);
            }
            return static_cast<int>(copied);
        }
        if (int error = Wait(ReadPoll(), ReceiveTimeout()); error != 0) {
            return Fail(error);
        }
    }
}

int IpxSocket::GetName(SocketAddress* address, int* length) {
    std::shared_ptr<IpxEndpoint> endpoint = Endpoint();
    if (!endpoint) {
        return Fail(kWsaEinval);
    }
    int error = IpxToInterface(endpoint->Address(), address, length);
    return error == 0 ? 0 : Fail(error);
}

int IpxSocket::GetPeer(SocketAddress* address, int* length) {
    std::lock_guard guard(endpointLock_);
    if (!peer_) {
        return Fail(kWsaEnotconn);
    }
    int error = IpxToInterface(*peer_, address, length);
    return error == 0 ? 0 : Fail(error);
}

int IpxSocket::Shutdown(int how) {
    return how >= kShutReceive && how <= kShutBoth ? 0 : Fail(kWsaEinval);
}

LibrarySocket::PollTarget IpxSocket::ReadPoll() {
    std::shared_ptr<IpxEndpoint> endpoint = Endpoint();
    return endpoint ? PollTarget{endpoint->Fd(), POLLIN} : PollTarget{};
}

bool IpxSocket::SetOwnOption(int level, int option, const char* value, int length, int& error) {
    if (level != kNsProtoIpxLevel) {
        return false;
    }
    int number = 0;
    if (option != kIpxPacketTypeOption || !OptionNumber(value, length, number) || number < 0 ||
        number > 255) {
        error = option != kIpxPacketTypeOption ? kWsaEnoprotoopt : kWsaEinval;
        return true;
    }
    packetType_ = static_cast<std::uint8_t>(number);
    return true;
}

bool IpxSocket::GetOwnOption(int level, int option, char* value, int* length, int& error) {
    if (level != kNsProtoIpxLevel) {
        return false;
    }
    if (option != kIpxPacketTypeOption) {
        error = kWsaEnoprotoopt;
        return true;
    }
    error = PutOptionNumber(packetType_, value, length);
    return true;
}

int IpxSocket::BytesReadable(std::uint32_t& count) {
    std::shared_ptr<IpxEndpoint> endpoint = Endpoint();
    auto next = endpoint ? endpoint->Receive(true) : std::nullopt;
    count = next ? static_cast<std::uint32_t>(next->data.size()) : 0;
    return 0;
}

int IpxSocket::AsyncFd() const {
    std::shared_ptr<IpxEndpoint> endpoint = Endpoint();
    return endpoint ? endpoint->Fd() : -1;
}

}  // namespace plat
