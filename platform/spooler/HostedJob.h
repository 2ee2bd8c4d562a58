#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/spooler/Spooler.h"

// The job this process plays the spooler for (see HostJob), for the spooler calls.
namespace plat {

bool HostsPrinter(const std::string& printer);
// The hosted job's record when the printer and the id are its; its status without the deleting bit.
std::optional<JobInfo1> HostedJob(const std::string& printer, std::uint32_t jobId);

}  // namespace plat
