#include "platform/lan/LlcControl.h"

namespace plat {

namespace {

// 802.2 control field values.
constexpr std::uint8_t kPollFinal = 0x10;  // in U-frames
constexpr std::uint8_t kSabme = 0x6F;
constexpr std::uint8_t kUa = 0x63;
constexpr std::uint8_t kDm = 0x0F;
constexpr std::uint8_t kDisc = 0x43;
constexpr std::uint8_t kFrmr = 0x87;
constexpr std::uint8_t kRr = 0x01;
constexpr std::uint8_t kRnr = 0x05;
constexpr std::uint8_t kRej = 0x09;

}  // namespace

std::array<std::uint8_t, 2> EncodeLlcControl(const ReliableLink::Frame& frame) {
    using Kind = ReliableLink::FrameKind;
    auto sequenced = [&frame](std::uint8_t first) {
        return std::array<std::uint8_t, 2>{first,
                                           static_cast<std::uint8_t>(frame.nr << 1 | (frame.poll ? 1 : 0))};
    };
    switch (frame.kind) {
        case Kind::ConnectRequest:
            return {kSabme | kPollFinal, 0};
        case Kind::Confirm:
            return {kUa | kPollFinal, 0};
        case Kind::Refuse:
            return {kDm | kPollFinal, 0};
        case Kind::Disconnect:
            return {kDisc | kPollFinal, 0};
        case Kind::Data:
            return sequenced(static_cast<std::uint8_t>(frame.ns << 1));
        case Kind::Ready:
            return sequenced(kRr);
        case Kind::Busy:
            return sequenced(kRnr);
        case Kind::Reject:
            return sequenced(kRej);
    }
    return {kDm, 0};
}

bool IsUiFrame(const LlcFrame& frame) {
    return (frame.control[0] & ~kPollFinal) == kLlcUiControl;
}

std::optional<ReliableLink::Frame> DecodeLlcControl(const LlcFrame& llc) {
    using Kind = ReliableLink::FrameKind;
    ReliableLink::Frame frame;
    std::uint8_t first = llc.control[0];
    if ((first & 0x01) == 0) {
        frame.kind = Kind::Data;
        frame.ns = first >> 1;
        frame.nr = llc.control[1] >> 1;
        frame.poll = (llc.control[1] & 1) != 0;
        frame.data.assign(llc.data.begin(), llc.data.end());
        return frame;
    }
    if ((first & 0x03) == 0x01) {
        switch (first) {
            case kRr:
                frame.kind = Kind::Ready;
                break;
            case kRnr:
                frame.kind = Kind::Busy;
                break;
            case kRej:
                frame.kind = Kind::Reject;
                break;
            default:
                return std::nullopt;
        }
        frame.nr = llc.control[1] >> 1;
        frame.poll = (llc.control[1] & 1) != 0;
        return frame;
    }
    switch (first & ~kPollFinal) {
        case kSabme:
            frame.kind = Kind::ConnectRequest;
            return frame;
        case kUa:
            frame.kind = Kind::Confirm;
            return frame;
        case kDm:
        case kFrmr:
            frame.kind = Kind::Refuse;
            return frame;
        case kDisc:
            frame.kind = Kind::Disconnect;
            return frame;
        default:
            return std::nullopt;
    }
}

}  // namespace plat
