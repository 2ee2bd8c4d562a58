#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "portmonitor/ServerRecord.h"

// The port map (AdapterPorts: one key per port whose "MAC Address" names its print server) and the
// usage count that each port adds to its print server's "Category".

// Each port of the map with its print server's complete device store entry, in the map's order;
// ports without an adapter name or a complete entry are left out (and stay in the map).
std::vector<std::pair<std::string, ServerRecord>> ReadPortEntries();

// Writes the port's entry and moves the usage count to the chosen print server. A step that fails
// leaves the old entry and every count as they were. False on failure.
bool SavePortEntry(const ServerRecord& record, const std::string& portName, bool configure);
// Deletes the port's entry and lowers its print server's count; false, with nothing changed, when the
// entry cannot be deleted.
bool DeletePortEntry(const std::string& portName);
// Deletes the port's key of the map; true when it was deleted.
bool DeletePortKey(const std::string& portName);
// Mode 1 adds 4 to the entry's "Category", mode 0 takes 4 away when it is at least 4. False for a
// missing entry or value, or another mode.
bool AdjustCategory(const std::string& adapterName, int mode);
// The adapter name a port prints to.
std::optional<std::string> PortAdapter(const std::string& portName);

// The transport a port's last job used (a protocol bit), kept between jobs.
std::optional<std::uint8_t> ReadPortTransport(const std::string& portName);
void WritePortTransport(const std::string& portName, std::uint8_t transport);
