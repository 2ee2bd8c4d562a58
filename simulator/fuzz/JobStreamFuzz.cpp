// Gives the job stream decoder what a connection could carry, in pieces of a size the first byte
// chooses, and checks that what it logs agrees with itself: every data byte counted once, in a packet
// of the length its header gave, and summed.
#include <cstdlib>
#include <numeric>

#include "simulator/JobStreamDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t piece = 1 + data[0] % 64;
    sim::JobStreamDecoder decoder("tcp");
    for (std::size_t at = 1; at < size; at += piece) {
        decoder.Feed({data + at, std::min(piece, size - at)});
    }
    const sim::JobRecord& job = decoder.Job();
    const std::uint64_t announced =
        std::accumulate(job.packetSizes.begin(), job.packetSizes.end(), std::uint64_t{0});
    if (job.bytes.size() != job.byteCount || job.byteCount > announced || job.byteCount > size ||
        job.checksum != std::accumulate(job.bytes.begin(), job.bytes.end(), 0u)) {
        std::abort();
    }
    return 0;
}
