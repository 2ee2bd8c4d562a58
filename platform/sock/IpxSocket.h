#pragma once

#include <atomic>
#include <memory>
#include <optional>

#include "platform/lan/IpxEndpoint.h"
#include "platform/sock/LibrarySocket.h"

namespace plat {

// An IPX datagram socket over the simulated LAN. Bound to network 0 (or this one) and node 0 it takes
// the PC's station; bound to another node it acts as that station (the simulated print servers).
class IpxSocket final : public LibrarySocket {
  public:
    explicit IpxSocket(std::uint8_t packetType) : LibrarySocket(kSockDgram), packetType_(packetType) {}

    int Bind(const SocketAddress* address, int length) override;
    int Connect(const SocketAddress* address, int length) override;
    int Send(const char* buffer, int length, int flags) override;
    int SendTo(const char* buffer, int length, int flags, const SocketAddress* to, int toLength) override;
    int Receive(char* buffer, int length, int flags, SocketAddress* from, int* fromLength,
                bool* partial) override;
    int GetName(SocketAddress* address, int* length) override;
    int GetPeer(SocketAddress* address, int* length) override;
    int Shutdown(int how) override;

    PollTarget ReadPoll() override;
    PollTarget WritePoll() override { return {-1, 0, true}; }

  protected:
    bool SetOwnOption(int level, int option, const char* value, int length, int& error) override;
    bool GetOwnOption(int level, int option, char* value, int* length, int& error) override;
    int BytesReadable(std::uint32_t& count) override;
    int AsyncFd() const override;
    void Release() override {}

  private:
    // Binds the endpoint; 0 or the interface's error number.
    int Open(const HardwareAddress& station, std::uint16_t socket);
    std::shared_ptr<IpxEndpoint> Endpoint() const;

    mutable std::mutex endpointLock_;
    std::shared_ptr<IpxEndpoint> endpoint_;
    std::optional<IpxAddress> peer_;
    std::atomic<std::uint8_t> packetType_;  // set by one thread while another sends
};

// Option level and option of the IPX protocol: the packet type sent.
inline constexpr int kNsProtoIpxLevel = kNsProtoIpx;
inline constexpr int kIpxPacketTypeOption = 0x4000;

}  // namespace plat
