#pragma once

#include <cstdint>

#include "transport/DeviceRecord.h"

// The order in which a print server's protocols are tried: the one to start with, then the one to
// fall back to after each that failed.

// The preferred protocol when it names one, else the first of IP, IPX, DLC in the mask; 0 for none.
std::uint8_t ChooseProtocol(const DeviceRecord& record);

// The protocol to fall back to after the failed one, from those in the mask; 0 for none.
std::uint8_t NextProtocol(std::uint8_t failed, std::uint8_t mask);
