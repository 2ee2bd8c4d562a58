#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "portmonitor/CNPC.h"

// `PortNode`: one port of the monitor. Its address is the port handle the spooler holds between
// OpenPort and ClosePort.
struct PortNode {
    std::unique_ptr<CNPC> port;
};

// `PortList`: the monitor's ports, the most recently added first. Every function takes the list's
// lock; a node stays where it is until it is removed.
void LoadPorts(const MonitorSettings& settings);
// Brings the list in step with the port map, which other processes hosting the monitor change: a
// closed port that left the map goes, a port new in the map joins at the head.
void SyncPorts(const MonitorSettings& settings);
PortNode* FindPort(const std::string& name);
bool IsValidPortHandle(const void* handle);
void PushPort(std::unique_ptr<CNPC> port);
// Gives a closed port a new connection; false, with nothing changed, when the port is gone or open.
bool ReplaceClosedPort(const std::string& name, std::unique_ptr<CNPC>& connection);
// Removes the port of that name (without regard to case); false when there is none.
bool RemovePort(const std::string& name);
// The ports' names in list order.
std::vector<std::string> PortNames();
