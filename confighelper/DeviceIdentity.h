#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "snmp/codec/ReqParam.h"

// The eight objects a print server is asked for when it is validated or its details are read, in
// this order: sysName, sysLocation, printer status, category, hardware address, IP address, IPX
// network, IPX node.
inline constexpr const char* kIdentityOids =
    "1.3.6.1.2.1.1.5.0,1.3.6.1.2.1.1.6.0,1.3.6.1.4.1.32473.11.5.1.1.9.1.0,"
    "1.3.6.1.4.1.32473.11.5.1.12.6.1.6.0,1.3.6.1.2.1.2.2.1.6.2,1.3.6.1.4.1.32473.11.5.1.12.2.5.0,"
    "1.3.6.1.4.1.23.2.5.1.1.1.3.1,1.3.6.1.4.1.23.2.5.1.1.1.4.1";
inline constexpr int kIdentityCount = 8;

// What an answer to those objects told; a value that is missing or not of its type and length is
// left out.
struct DeviceIdentity {
    std::optional<std::string> name;
    std::optional<std::string> description;
    std::optional<std::int32_t> printerStatus;
    std::optional<std::int32_t> category;
    std::optional<std::array<std::uint8_t, 6>> hardwareAddress;
    std::optional<std::array<std::uint8_t, 4>> ipAddress;
    std::optional<std::array<std::uint8_t, 4>> ipxNetwork;
    std::optional<std::array<std::uint8_t, 6>> ipxNode;
};

// Reads the eight values of an answer to those objects.
DeviceIdentity ReadDeviceIdentity(const ReqParam& answer);

struct DeviceRecord;

// Puts what the identity holds into the record: names, printer status (16 bits), category (low byte),
// the hardware address as the MAC text, the IP text, and the network and node parts of the IPX text.
// Fields whose value is missing keep what they held.
void ApplyDeviceIdentity(const DeviceIdentity& identity, DeviceRecord& record);
