#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "portmonitor/LinkResult.h"

// How long a link waits: each wait lasts timeOutMs, and a send or receive gives up after `retries`
// waits in a row without progress, or after any wait once `abandoned` says the job is gone.
struct LinkTiming {
    std::uint32_t timeOutMs = 3000;
    std::uint32_t retries = 3;
    std::function<bool()> abandoned;

    bool Abandoned() const { return abandoned && abandoned(); }
};

// A connection that carries the job stream to a print server: TCP, SPX or DLC.
class JobStreamLink {
  public:
    virtual ~JobStreamLink() = default;

    // TCP: dotted address or host name and port; SPX: 20 hexadecimal digits and socket; DLC: 12
    // hexadecimal digits and remote SAP.
    virtual LinkResult Connect(const char* address, std::uint16_t port) = 0;
    // Sends the bytes; `taken` tells how many the connection took, so that a caller that tries
    // again sends only the rest. kLinkSent when all went, kLinkNotAllSent when the peer took nothing
    // within the rounds, kLinkNotConnected when the connection is lost, kLinkFailed on another error.
    virtual LinkResult Send(const std::uint8_t* bytes, std::size_t count, std::size_t& taken) = 0;
    // Receives at most `length` bytes: kLinkReceived with the count, kLinkNothingReceived when none
    // came within the rounds. A connection the peer closed in order reads 0 bytes (kLinkReceived with
    // length 0); one it reset or broke is lost (kLinkNotConnected).
    virtual LinkResult Receive(std::uint8_t* buffer, std::size_t& length) = 0;
    virtual LinkResult Close() = 0;
    // Ends the connection of a job that did not go whole, so that the print server can tell: a reset
    // where the link has one (the bytes not yet sent are dropped), else as Close.
    virtual LinkResult Abort() { return Close(); }
    // True when the peer's orderly close shows that it read every byte sent: so a TCP stack closes
    // only a connection whose bytes were all read, and resets one that still holds some.
    virtual bool CloseShowsAllRead() const { return false; }
    // How many job stream packets one Send may carry: a stream many, a link of frames one per frame.
    virtual std::size_t PacketsPerSend() const { return kStreamPacketsPerSend; }

  protected:
    static constexpr std::size_t kStreamPacketsPerSend = 176;  // about 256 KiB
};
