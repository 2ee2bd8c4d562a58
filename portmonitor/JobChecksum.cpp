#include "portmonitor/JobChecksum.h"

// Built with vectorisation (see CMakeLists.txt): every byte of a job passes through here.
std::uint32_t CopyAndSum(std::uint8_t* __restrict to, const std::uint8_t* __restrict from,
                         std::size_t count) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        to[i] = from[i];
        sum += from[i];
    }
    return sum;
}
