#include "confighelper/ChannelExchange.h"

#include "confighelper/LibrarySettings.h"
#include "transport/DeviceChannel.h"

HelperResult ExchangeOverChannel(const char* adapterName, const std::vector<std::uint8_t>& request,
                                 std::int32_t requestId, Answer& answer) {
    answer.reset();
    const LibrarySettings& settings = CurrentSettings();
    DeviceChannel channel(static_cast<std::int32_t>(settings.udpTotalRetries),
                          static_cast<std::int32_t>(settings.udpTimeOutInterval), 0, nullptr, nullptr);
    TransportResult result =
        channel.Send(request.data(), static_cast<std::uint32_t>(request.size()), adapterName);
    std::vector<std::uint8_t> datagram(kDatagramRoom);
    // Answers to other requests (late ones of an earlier exchange) are passed over, a bounded number
    // of times.
    for (std::uint32_t taken = 0; result == kTransportOk && taken <= settings.udpTotalRetries + 1; ++taken) {
        std::uint32_t length = 0;
        std::uint8_t sender[10];
        std::uint16_t port = 0;
        result = channel.Receive(datagram.data(), kDatagramRoom, &length, sender, &port);
        if (result != kTransportOk) {
            break;
        }
        Answer decoded = DecodeAnswer(datagram.data(), length);
        if (decoded != nullptr && decoded->RequestId == requestId) {
            answer = std::move(decoded);
            break;
        }
    }
    channel.Close();
    if (answer == nullptr && result == kTransportOk) {
        return kTransportTimedOut;
    }
    return result;
}

HelperResult GetOverChannel(const char* adapterName, const std::string& oids, Answer& answer) {
    const std::int32_t requestId = plat::NextRequestId();
    const std::vector<std::uint8_t> request = EncodeRequest(kPduGet, requestId, GetBindings(oids));
    if (request.empty()) {
        answer.reset();
        return kHelperFailed;
    }
    return ExchangeOverChannel(adapterName, request, requestId, answer);
}
