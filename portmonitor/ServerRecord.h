#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The in-memory copy of one device store entry.
struct ServerRecord {
    std::optional<std::string> name;         // "Print Server Name"
    std::optional<std::string> mac;          // "MAC Address": the adapter name
    std::optional<std::string> ip;           // "IP Address"
    std::optional<std::string> ipx;          // "IPX Address"
    std::optional<std::string> description;  // "Print Server Description"
    std::optional<std::string> dnsName;      // "DNS Name"
    std::uint32_t pProtocol = 0;
    std::uint32_t cProtocols = 0;
    std::uint32_t category = 0;

    // All six texts are there (an empty one counts).
    bool Complete() const { return name && mac && ip && ipx && description && dnsName; }
    // May be offered for new ports.
    bool Offered() const { return Complete() && (category & 2) != 0; }
};

// The device store entry of an adapter name; nothing when it is missing.
std::optional<ServerRecord> ReadServerRecord(const std::string& adapterName);
// Every entry of the device store that may be offered for new ports, in the store's order.
std::vector<ServerRecord> LoadServerList();
