#include "confighelper/TrapListener.h"

#include "confighelper/BindingValue.h"
#include "confighelper/TrapNotice.h"
#include "platform/services/DebugOutput.h"
#include "transport/HexCodec.h"

namespace {

constexpr std::uint32_t kReceiveBuffer = 1024;

const char* ProtocolName(ProtocolMask protocol) {
    switch (protocol) {
        case kProtocolIp:
            return "UDP port";
        case kProtocolIpx:
            return "IPX socket";
        default:
            return "DLC SAP";
    }
}

}  // namespace

TrapListener::TrapListener(std::unique_ptr<DatagramTransport> transport, ProtocolMask protocol)
    : transport_(std::move(transport)), protocol_(protocol) {}

void TrapListener::Bind(std::uint16_t endPoint) {
    const TransportResult result = transport_->Bind(endPoint);
    if (result == kTransportOk) {
        return;
    }
    if (protocol_ == kProtocolIp) {
        plat::DebugPrintf(
            "Trap listener: cannot bind UDP port %u (result %d); a port below 1024 needs privilege "
            "(root, CAP_NET_BIND_SERVICE, or a private network namespace). No UDP status traps arrive.\n",
            endPoint, result);
    } else {
        plat::DebugPrintf("Trap listener: cannot bind %s %u (result %d); no status traps arrive by it.\n",
                          ProtocolName(protocol_), endPoint, result);
    }
}

std::string TrapListener::SenderText(const std::uint8_t* sender) const {
    char text[21];
    switch (protocol_) {
        case kProtocolIp:
            return DottedAddress(sender);
        case kProtocolIpx:
            BytesToHexText(text, sender, 10);
            return text;
        default:
            BytesToHexText(text, sender, 6);
            return text;
    }
}

void TrapListener::OnDatagramNotify(plat::WindowHandle noticeWindow) {
    ++pending_;
    if (busy_) {
        return;
    }
    busy_ = true;
    do {
        std::uint8_t datagram[kReceiveBuffer];
        std::uint8_t sender[10] = {};
        std::uint32_t length = 0;
        std::uint16_t port = 0;
        // Nothing more is waiting: the announcements still counted are spent.
        if (transport_->Receive(datagram, sizeof datagram, &length, sender, &port) != kTransportOk) {
            pending_ = 0;
            break;
        }
        PostTrapText(SenderText(sender), datagram, length, protocol_, noticeWindow);
        --pending_;
    } while (pending_ > 0);
    busy_ = false;
}
