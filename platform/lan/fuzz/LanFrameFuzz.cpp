// Decodes a frame from the simulated segment, and an SPX packet from an IPX one. A decoded frame
// encodes to a frame that decodes to the same packet.
#include <algorithm>
#include <cstdlib>

#include "platform/lan/SpxPacket.h"

namespace {

bool SameData(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    return std::ranges::equal(a, b);
}

void CheckRoundTrip(const plat::LanFrame& frame) {
    const bool ipx = frame.kind == plat::LanFrame::Kind::Ipx;
    const std::vector<std::uint8_t> bytes =
        ipx ? plat::EncodeIpxFrame(frame.ipx) : plat::EncodeLlcFrame(frame.llc);
    std::optional<plat::LanFrame> again = plat::DecodeLanFrame(bytes);
    if (!again || again->kind != frame.kind) {
        std::abort();
    }
    const bool same =
        ipx ? again->ipx.type == frame.ipx.type && again->ipx.source == frame.ipx.source &&
                  again->ipx.destination == frame.ipx.destination && SameData(again->ipx.data, frame.ipx.data)
            : again->llc.source == frame.llc.source && again->llc.destination == frame.llc.destination &&
                  again->llc.dsap == frame.llc.dsap && again->llc.ssap == frame.llc.ssap &&
                  again->llc.control == frame.llc.control && SameData(again->llc.data, frame.llc.data);
    if (!same) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::optional<plat::LanFrame> frame = plat::DecodeLanFrame({data, size});
    if (!frame) {
        return 0;
    }
    CheckRoundTrip(*frame);
    if (frame->kind == plat::LanFrame::Kind::Ipx) {
        plat::DecodeSpxPacket(frame->ipx);
    }
    return 0;
}
