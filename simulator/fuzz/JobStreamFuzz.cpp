// Gives the job stream decoder what a connection could carry, in pieces of a size the first byte
// chooses, and checks that what it logs agrees with itself: every data byte counted once, in packets
// no longer than their headers gave, kept and summed.
#include <cstdlib>
#include <numeric>

#include "simulator/JobStreamDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t piece = 1 + data[0] % 64;
    sim::JobStreamDecoder decoder("tcp", sim::JobKeeping{.firstBytes = size, .folder = ""});
    for (std::size_t at = 1; at < size; at += piece) {
        decoder.Feed({data + at, std::min(piece, size - at)});
    }
    const sim::JobRecord& job = decoder.Job();
    if (job.firstBytes.size() != job.byteCount || job.byteCount > job.packets * job.largestPacket ||
        job.byteCount > size || job.banner.size() > sim::KeptBannerBytes ||
        job.checksum != std::accumulate(job.firstBytes.begin(), job.firstBytes.end(), 0u)) {
        std::abort();
    }
    return 0;
}
