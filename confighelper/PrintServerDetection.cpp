#include <string>

#include "confighelper/DetailQueries.h"
#include "confighelper/DetectionLinks.h"
#include "confighelper/DeviceStore.h"
#include "confighelper/DiscoveryReply.h"
#include "confighelper/DiscoveryRequest.h"
#include "confighelper/Halbrin.h"
#include "confighelper/LibrarySettings.h"
#include "platform/services/DebugOutput.h"
#include "transport/DlcTransport.h"
#include "transport/HexCodec.h"
#include "transport/IpxTransport.h"
#include "transport/UdpTransport.h"

namespace {

constexpr std::uint16_t kSapSocket = 0x452;

// One detection: everything it owns lives for the call only, its stop time included.
class Detection {
  public:
    explicit Detection(plat::WindowHandle progress)
        : progress_(progress),
          links_([this](DetectionLinks::Link link, const std::uint8_t* datagram, std::uint32_t length,
                        const std::uint8_t* sender) { OnDatagram(link, datagram, length, sender); }),
          details_(links_, list_) {}

    HelperResult Run() {
        requestId_ = plat::NextRequestId();
        const std::vector<std::uint8_t> request = BuildDiscoveryRequest(requestId_);
        if (request.empty() || !SendRequests(request)) {
            return kHelperOk;
        }
        links_.StartNotices();
        const std::uint64_t listenMs = std::uint64_t{CurrentSettings().autoDetectTimeout} * 2 * 1000;
        const bool keepGoing =
            links_.PumpUntil(plat::TickCount() + static_cast<std::uint32_t>(listenMs), [] { return false; });
        links_.DrainAll();
        listening_ = false;

        // The store is written once, complete; a print server asked through a device channel is
        // entered first (DetailQueries), since a channel finds it there.
        if (keepGoing) {
            details_.Run();
        }
        PurgeDeviceStore(&list_);
        Notice("5" + std::to_string(list_.GetCount()));
        return kHelperOk;
    }

  private:
    // The four sends, each announced when it went out; false when none did.
    bool SendRequests(const std::vector<std::uint8_t>& request) {
        const auto length = static_cast<std::uint32_t>(request.size());
        bool any = false;
        auto send = [&](DetectionLinks::Link link, const void* data, std::uint32_t size, std::uint16_t port,
                        const char* notice) {
            if (links_.Transport(link).Broadcast(data, size, port) == kTransportOk) {
                Notice(notice);
                any = true;
            }
        };
        send(DetectionLinks::kIpxRequest, request.data(), length, IpxTransport::kDefaultSocket, "2");
        send(DetectionLinks::kUdp, request.data(), length, UdpTransport::kDefaultPort, "1");
        send(DetectionLinks::kDlc, request.data(), length, DlcTransport::kDefaultSap, "7");
        send(DetectionLinks::kIpxService, kSapQuery, sizeof kSapQuery, kSapSocket, "3");
        return any;
    }

    void OnDatagram(DetectionLinks::Link link, const std::uint8_t* datagram, std::uint32_t length,
                    const std::uint8_t* sender) {
        if (link == DetectionLinks::kIpxService) {
            if (listening_ && ParseSapReply(datagram, length, list_) > 0) {
                Notice("4");
            }
            return;
        }
        Answer answer = DecodeAnswer(datagram, length);
        if (answer == nullptr || details_.OnAnswer(answer) || !listening_ ||
            answer->RequestId != requestId_) {
            return;
        }
        Debug(link, sender);
        ParseDiscoveryReply(*answer, sender, list_, KindOf(link));
        Notice("4");
    }

    static ProtocolMask KindOf(DetectionLinks::Link link) {
        switch (link) {
            case DetectionLinks::kDlc:
                return kProtocolDlc;
            case DetectionLinks::kUdp:
                return kProtocolIp;
            default:
                return kProtocolIpx;
        }
    }

    static void Debug(DetectionLinks::Link link, const std::uint8_t* sender) {
        char hex[21];
        switch (link) {
            case DetectionLinks::kDlc:
                plat::DebugPrintf("DLC:%02x-%02x-%02x-%02x-%02x-%02x\n", sender[0], sender[1], sender[2],
                                  sender[3], sender[4], sender[5]);
                break;
            case DetectionLinks::kUdp:
                plat::DebugPrintf("IP:%u.%u.%u.%u\n", sender[0], sender[1], sender[2], sender[3]);
                break;
            default:
                BytesToHexText(hex, sender, 10);
                plat::DebugPrintf("IPX:%.8s.%s\n", hex, hex + 8);
                break;
        }
    }

    void Notice(const std::string& text) {
        if (progress_ != 0) {
            plat::SetWindowText(progress_, text);
        }
    }

    plat::WindowHandle progress_;
    DeviceList list_;
    DetectionLinks links_;
    DetailQueries details_;
    std::int32_t requestId_ = 0;
    bool listening_ = true;
};

}  // namespace

HALBRIN_EXPORT HelperResult HelperDetectPrintServers(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                                     std::int32_t, plat::WindowHandle progressWindow) {
    Detection detection(progressWindow);
    return detection.Run();
}
