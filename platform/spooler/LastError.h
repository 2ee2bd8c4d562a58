#pragma once

#include <cstdint>

// The calling thread's last error, which the port monitor's entry points set on failure as the
// spooler's monitor interface expects.
namespace plat {

void SetLastError(std::uint32_t error);
std::uint32_t GetLastError();

}  // namespace plat
