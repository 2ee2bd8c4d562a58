#pragma once

#include <cstdint>

#include "platform/sock/SocketLibrary.h"
#include "platform/window/Window.h"
#include "transport/TransportResult.h"

// The window message that tells an asynchronous transport's owner of an arriving datagram (UDP and
// IPX: wParam the socket, lParam the event | error << 16; DLC: wParam 0, lParam 1).
inline constexpr std::uint32_t WM_DATAGRAM_NOTIFY = plat::kWmUser + 1;

// Transport flags, given when a transport is made; they combine.
enum : std::uint32_t {
    kTransportBroadcast = 1,
    kTransportAsynchronous = 4,
};

// Room for any datagram a transport carries: the largest UDP payload (IPX and DLC carry less). A
// receive into a smaller buffer loses a longer datagram.
inline constexpr std::uint32_t kLargestDatagram = 65535;

// The module a transport is made for. Window classes are registered per process on this platform,
// so the transports take it and do not need it.
using ModuleInstance = const void*;

// One datagram service, in blocking mode (send, then wait in Receive) or asynchronous mode (the
// transport owns a hidden window and its owner's window procedure gets WM_DATAGRAM_NOTIFY per
// arriving datagram, then calls Receive). A transport belongs to the thread that made it.
//
// Addresses by transport:      address text in      sender bytes out     default end point
//   UdpTransport                dotted IPv4           4 (network order)    UDP port 161
//   IpxTransport                8 + 12 hex digits     4 network + 6 node   IPX socket 0x900F
//   DlcTransport                12 hex digits         6 hardware address   SAP 10
class DatagramTransport {
  public:
    using Socket = plat::SocketHandle;
    static constexpr Socket kNoSocket = plat::kInvalidSocket;

    // retries: attempts of every send and receive (at least 1); timeOutSeconds: the wait of one
    // receive attempt; flags: kTransportBroadcast, kTransportAsynchronous.
    DatagramTransport(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                      plat::WindowProc windowProcedure, ModuleInstance instance);
    DatagramTransport(const DatagramTransport&) = delete;
    DatagramTransport& operator=(const DatagramTransport&) = delete;
    virtual ~DatagramTransport();

    // The local port, IPX socket or SAP to receive on.
    virtual TransportResult Bind(std::uint16_t port) = 0;
    virtual TransportResult Broadcast(const void* data, std::uint32_t length, std::uint16_t port) = 0;
    virtual TransportResult SendTo(const void* data, std::uint32_t length, const char* address,
                                   std::uint16_t port) = 0;
    virtual TransportResult SendToDefault(const void* data, std::uint32_t length, const char* address) = 0;
    // On success writes the length, the sender's address bytes and its port (host order); on failure
    // none of them.
    virtual TransportResult Receive(void* buffer, std::uint32_t size, std::uint32_t* length,
                                    std::uint8_t* sender, std::uint16_t* port) = 0;
    // 1 found, 0 not found, kTransportNotOpen when not open.
    virtual TransportResult GetLocalAddress(std::uint8_t* address) = 0;

    // The transport's socket; kNoSocket when it has none (always for DLC).
    Socket GetSocket() const { return socket_; }
    // The hidden notification window of asynchronous mode; 0 otherwise.
    plat::WindowHandle GetWindow() const { return window_; }

  protected:
    bool Asynchronous() const { return (flags_ & kTransportAsynchronous) != 0; }
    bool BroadcastAllowed() const { return (flags_ & kTransportBroadcast) != 0; }
    // Registers the class with the owner's window procedure and creates the hidden window. Nothing
    // when the owner gave no procedure or the class is already registered in this process.
    void CreateNotifyWindow(const char* className, const char* title);
    void DestroyNotifyWindow();

    std::uint16_t boundPort_ = 0;
    Socket socket_ = kNoSocket;
    bool open_ = false;
    std::int32_t retries_;
    std::int32_t timeOutSeconds_;
    std::uint32_t flags_;
    plat::WindowHandle window_ = 0;
    plat::WindowProc windowProcedure_;
};
