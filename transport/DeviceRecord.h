#pragma once

#include <cstdint>

// One print server of the device store, in memory: a plain value that owns no memory. Texts are
// zero-terminated in fixed arrays.
struct DeviceRecord {
    static constexpr int kNameSize = 257;
    static constexpr int kAddressSize = 22;

    char printServerName[kNameSize];         // "Print Server Name"
    char printServerDescription[kNameSize];  // "Print Server Description"
    char macAddress[kAddressSize];           // "MAC Address": 12 upper-case hex digits, the adapter name
    char ipAddress[kAddressSize];            // "IP Address": dotted IPv4
    char ipxAddress[kAddressSize];           // "IPX Address": 8 digits of network, then 12 of node
    char dnsName[kAddressSize];              // "DNS Name"
    std::int16_t printerStatus;              // read from the print server, not kept in the store
    char firstSpare[kNameSize];
    char secondSpare[kNameSize];
    std::uint8_t category;           // low two bits of "Category"
    std::uint8_t protocolMask;       // "cProtocols", a ProtocolMask
    std::uint8_t preferredProtocol;  // "pProtocol": 1, 2 or 4

    DeviceRecord();
};
