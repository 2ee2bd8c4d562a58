#pragma once

// A stand-in print server on UDP 127.0.0.1:161 that answers each request as a test's script says,
// so that a test can give wrong request ids, garbage, error statuses or silence, and see exactly
// which requests the library sent.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "snmp/tests/BerBytes.h"

namespace snmp::test {

struct SentBinding {
    std::string oid;
    std::int32_t type = 0;
    Bytes value;
};

// One request as the agent received it.
struct ReceivedRequest {
    std::int32_t pduType = -1;  // -1: not a request that decodes
    std::int32_t requestId = 0;
    std::string community;
    std::vector<SentBinding> bindings;
};

// A datagram to send back to the sender of an earlier request (by its index).
struct Reply {
    std::size_t toRequest;
    Bytes datagram;
};

// The GetResponse to a request: its id (or another), the error status and the bindings.
Bytes Answer(const ReceivedRequest& request, const std::vector<SentBinding>& bindings,
             std::uint8_t errorStatus = 0, std::int32_t idOffset = 0);
SentBinding Integer(const std::string& oid, std::int32_t value);
SentBinding Octets(const std::string& oid, const std::string& bytes);

class ScriptedAgent {
  public:
    // Called for every request with all requests received so far (the last one is the new one);
    // gives the replies to send now.
    using Script = std::function<std::vector<Reply>(const std::vector<ReceivedRequest>& requests)>;

    explicit ScriptedAgent(Script script);
    ScriptedAgent(const ScriptedAgent&) = delete;
    ScriptedAgent& operator=(const ScriptedAgent&) = delete;
    ~ScriptedAgent();

    bool Listening() const { return fd_ >= 0; }
    std::vector<ReceivedRequest> Requests();

  private:
    void Serve();

    Script script_;
    int fd_ = -1;
    std::atomic<bool> stopping_{false};
    std::mutex lock_;
    std::vector<ReceivedRequest> requests_;
    std::thread thread_;
};

}  // namespace snmp::test
