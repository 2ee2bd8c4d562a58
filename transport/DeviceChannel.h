#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "transport/DatagramTransport.h"
#include "transport/ProtocolMask.h"

// Talks to one print server named only by its adapter name: reads its addresses and preferred
// protocol from the device store, sends over a transport of that protocol and waits for the answer.
// When sending fails or no answer comes it resends and falls back to another protocol the print
// server speaks, writing that protocol into the store as the new "pProtocol" at once, so that every
// later exchange by any component starts with it.
//
// One exchange at a time, on one thread: construct, Send (or SendTo), Receive when an answer is
// wanted, Close.
class DeviceChannel {
  public:
    // retries: extra receive attempts per cycle. The time-out, flags, window procedure and instance
    // are passed to every transport the channel makes.
    DeviceChannel(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                  plat::WindowProc windowProcedure, ModuleInstance instance);
    DeviceChannel(const DeviceChannel&) = delete;
    DeviceChannel& operator=(const DeviceChannel&) = delete;
    ~DeviceChannel();

    // Sends to the print server's SNMP end point (UDP 161, IPX 0x900F, SAP 10), up to 3 tries with a
    // protocol switch after each failure. 0, kTransportSendFailed when no transport can be made, or
    // the failing transport's result.
    TransportResult Send(const void* data, std::uint32_t length, const char* adapterName);
    // The same to the given port, IPX socket or SAP.
    TransportResult SendTo(const void* data, std::uint32_t length, const char* adapterName,
                           std::uint16_t port);
    // Waits for the answer: up to 3 cycles of retries + 1 attempts, resending after each failed
    // attempt and switching protocol after each failed cycle. 0, kTransportReceiveFailed when there
    // is no transport, or the last failure.
    TransportResult Receive(void* buffer, std::uint32_t size, std::uint32_t* length, std::uint8_t* sender,
                            std::uint16_t* port);
    // Deletes the transport and forgets the saved request.
    void Close();
    // Bind on the current transport; kTransportNotOpen when there is none.
    TransportResult Bind(std::uint16_t port);
    // The current transport's socket; DatagramTransport::kNoSocket when there is none.
    DatagramTransport::Socket GetSocket() const;
    // The protocol of the transport last made (0 before the first).
    std::uint8_t CurrentProtocol() const { return currentProtocol_; }

    // Makes the transport of the print server's preferred protocol (else the first of IP, IPX, DLC in
    // its mask) and gives the address text to send to; null when the entry cannot be read or names
    // no usable protocol.
    std::unique_ptr<DatagramTransport> OpenTransport(const char* adapterName, std::string& address);

    // Picks the protocol after the failed one (IP: DLC, else IPX; IPX: DLC, else IP; DLC: IP, else
    // IPX) from the entry's "cProtocols" and writes it as "pProtocol". 0 when written; 1 when no
    // protocol is left or the entry cannot be read or written.
    static int SwitchProtocol(const char* adapterName, std::uint8_t failedProtocol);

  private:
    // port: none for the default end point.
    TransportResult SendRequest(const void* data, std::uint32_t length, const char* adapterName,
                                std::optional<std::uint16_t> port);
    void SaveRequest(const void* data, std::uint32_t length, const char* adapterName,
                     std::optional<std::uint16_t> port);
    void Resend();

    std::uint8_t currentProtocol_ = 0;
    std::vector<std::uint8_t> savedRequest_;
    std::string savedAdapterName_;
    std::optional<std::uint16_t> savedPort_;  // none: the request went to the default end point
    ModuleInstance instance_;
    std::unique_ptr<DatagramTransport> transport_;
    std::int32_t retries_;
    std::int32_t timeOutSeconds_;
    std::uint32_t flags_;
    plat::WindowProc windowProcedure_;
};
