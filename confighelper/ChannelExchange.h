#pragma once

#include <cstdint>
#include <vector>

#include "confighelper/HelperResult.h"
#include "confighelper/SnmpMessage.h"

// One request to a print server named by its adapter name, through a device channel (its preferred
// protocol first, then the others it speaks), with the library's time-out and retries. Only an answer
// carrying the request's id is taken; `answer` is null on failure. 0, or the channel's failure.
HelperResult ExchangeOverChannel(const char* adapterName, const std::vector<std::uint8_t>& request,
                                 std::int32_t requestId, Answer& answer);

// The same for a get of the comma-joined objects.
HelperResult GetOverChannel(const char* adapterName, const std::string& oids, Answer& answer);
