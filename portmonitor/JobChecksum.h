#pragma once

#include <cstddef>
#include <cstdint>

// The job checksum: the 32-bit sum of the data bytes, as the card computes it. Summed while the
// bytes are copied into their packets, so that a job's bytes are read once.
std::uint32_t CopyAndSum(std::uint8_t* to, const std::uint8_t* from, std::size_t count);
