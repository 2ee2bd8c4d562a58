#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A TFTP read client: the simulated card's own, which fetches its firmware with it, and the tests'
// and benchmark's, with a lossy link on demand.
namespace sim {

struct TftpClientOptions {
    std::string server = "127.0.0.1";
    std::uint16_t port = 69;
    std::string source;  // the address to send from; empty: any
    std::string mode = "octet";
    double lossRate = 0;        // share of datagrams lost in each direction
    unsigned seed = 1;          // of the losses
    int waitMs = 100;           // before the request or the last acknowledgement is sent again
    int attempts = 50;          // waits in a row without progress before giving up
    int lingerMs = 0;           // after the last acknowledgement, to answer a repeated last block
    int vanishAfter = 0;        // when not 0: acknowledges this many blocks, then goes silent
    bool dropsLastAck = false;  // every acknowledgement of the last block is lost
    const std::atomic<bool>* cancel = nullptr;  // when set, ends the transfer at the next wait
    // When set, called with the whole file as soon as its last block is in, before any linger.
    std::function<void(const std::vector<std::uint8_t>&)> onDone;
};

struct TftpClientResult {
    bool ok = false;
    std::vector<std::uint8_t> data;
    std::uint16_t errorCode = 0;
    std::string errorMessage;  // the server's error text, or what went wrong here
    unsigned lost = 0;         // datagrams the link lost
};

TftpClientResult TftpGet(const std::string& fileName, const TftpClientOptions& options = {});

}  // namespace sim
