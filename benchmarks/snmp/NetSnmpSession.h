#pragma once

// net-snmp's own synchronous exchange (snmp_synch_response) with an agent, the yardstick of the
// exchange comparison. Kept behind this small interface: net-snmp's headers stay in one
// translation unit.
#include <memory>
#include <string>
#include <vector>

namespace snmp::bench {

class NetSnmpSession {
  public:
    // Opens a version 1 session with the agent at `peer` ("udp:127.0.0.1:161"); the identifiers are
    // parsed to arcs here, once, outside the timing.
    NetSnmpSession(const std::string& peer, const std::string& community,
                   const std::vector<std::string>& oids);
    ~NetSnmpSession();
    NetSnmpSession(const NetSnmpSession&) = delete;
    NetSnmpSession& operator=(const NetSnmpSession&) = delete;

    bool Opened() const;
    // One get of every identifier; true when the agent answered with error status 0.
    bool Get();
    // One set of every identifier to the integer `value`; true as for Get.
    bool Set(long value);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace snmp::bench
