#include <string>

#include "confighelper/DetailQueries.h"
#include "confighelper/DetectionLinks.h"
#include "confighelper/DeviceStore.h"
#include "confighelper/DiscoveryReply.h"
#include "confighelper/DiscoveryRequest.h"
#include "confighelper/Halbrin.h"
#include "confighelper/LibrarySettings.h"
#include "platform/services/DebugOutput.h"
#include "platform/services/ExportGuard.h"
#include "transport/DlcTransport.h"
#include "transport/HexCodec.h"
#include "transport/IpxTransport.h"
#include "transport/UdpTransport.h"

namespace {

constexpr std::uint16_t kSapSocket = 0x452;
// The broadcasts of one listening window, evenly spread over it: one lost datagram costs nothing.
constexpr std::uint64_t kBroadcasts = 3;

// The later of two tick counts, which wrap.
std::uint32_t LaterTick(std::uint32_t a, std::uint32_t b) {
    return static_cast<std::int32_t>(a - b) >= 0 ? a : b;
}

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
        const bool keepGoing = Listen(request);
        links_.DrainAll();
        listening_ = false;

        // The store is written once, complete.
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
        bool any = false;
        ForEachSend(request, [&](DetectionLinks::Link link, const void* data, std::uint32_t size,
                                 std::uint16_t port, const char* notice) {
            sent_[link] = links_.Transport(link).Broadcast(data, size, port) == kTransportOk;
            if (sent_[link]) {
                Notice(notice);
                any = true;
            }
        });
        return any;
    }

    // The window's time, with the sends repeated unannounced over the links that carried them at its
    // start, so that a print server whose answer (or whose copy of the request) was lost is heard from
    // the next time. Each send is listened to for its share of the window: when a flood of answers or
    // a busy PC kept the thread past a repeat's time, the window ends that much later, for the answers
    // to the repeat are the ones that make up for those lost meanwhile. False when the thread was told
    // to quit.
    bool Listen(const std::vector<std::uint8_t>& request) {
        const std::uint32_t start = plat::TickCount();
        const std::uint64_t listenMs = std::uint64_t{CurrentSettings().autoDetectTimeout} * 2 * 1000;
        const auto share = static_cast<std::uint32_t>(listenMs / kBroadcasts);
        std::uint32_t sentAt = start;
        for (std::uint64_t round = 1;; ++round) {
            const auto planned = static_cast<std::uint32_t>(start + listenMs * round / kBroadcasts);
            if (!links_.PumpUntil(LaterTick(planned, sentAt + share), [] { return false; })) {
                return false;
            }
            if (round == kBroadcasts) {
                return true;
            }
            ForEachSend(request, [&](DetectionLinks::Link link, const void* data, std::uint32_t size,
                                     std::uint16_t port, const char*) {
                if (sent_[link]) {
                    links_.Transport(link).Broadcast(data, size, port);
                }
            });
            sentAt = plat::TickCount();
        }
    }

    // The broadcasts of a detection in their order, with the notice of each.
    template <typename Send>
    static void ForEachSend(const std::vector<std::uint8_t>& request, Send send) {
        const auto length = static_cast<std::uint32_t>(request.size());
        send(DetectionLinks::kIpxRequest, request.data(), length, IpxTransport::kDefaultSocket, "2");
        send(DetectionLinks::kUdp, request.data(), length, UdpTransport::kDefaultPort, "1");
        send(DetectionLinks::kDlc, request.data(), length, DlcTransport::kDefaultSap, "7");
        send(DetectionLinks::kIpxService, kSapQuery, sizeof kSapQuery, kSapSocket, "3");
    }

    // True the first time a link brings an answer for the record: the repeated broadcasts bring the
    // same answers again, and only the first is announced.
    bool FirstAnswer(DetectionLinks::Link link, std::size_t record) {
        std::vector<bool>& heard = heard_[link];
        if (record >= heard.size()) {
            heard.resize(record + 1);
        }
        const bool first = !heard[record];
        heard[record] = true;
        return first;
    }

    void OnDatagram(DetectionLinks::Link link, const std::uint8_t* datagram, std::uint32_t length,
                    const std::uint8_t* sender) {
        if (link == DetectionLinks::kIpxService) {
            if (!listening_) {
                return;
            }
            bool fresh = false;
            for (std::size_t record : ParseSapReply(datagram, length, list_)) {
                fresh = FirstAnswer(link, record) || fresh;
            }
            if (fresh) {
                Notice("4");
            }
            return;
        }
        Answer answer = DecodeAnswer(datagram, length);
        if (answer == nullptr || details_.OnAnswer(answer) || !listening_ ||
            answer->RequestId != requestId_) {
            return;
        }
        const std::optional<std::size_t> record = ParseDiscoveryReply(*answer, sender, list_, KindOf(link));
        if (!record || !FirstAnswer(link, *record)) {
            return;
        }
        Debug(link, sender);
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
    bool sent_[DetectionLinks::kLinkCount] = {};
    std::vector<bool> heard_[DetectionLinks::kLinkCount];
};

}  // namespace

HALBRIN_EXPORT HelperResult HelperDetectPrintServers(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                                     std::int32_t, plat::WindowHandle progressWindow) {
    // None inside another on one thread: one started while the first pumps its messages (from a
    // timer, or another caller's dialog) would purge the store that the first is writing.
    static thread_local bool detecting = false;
    if (detecting) {
        return kHelperDetectionRunning;
    }
    detecting = true;
    const HelperResult result = plat::GuardExport(kHelperFailed, kHelperNoMemory, [&] {
        Detection detection(progressWindow);
        return detection.Run();
    });
    detecting = false;
    return result;
}
