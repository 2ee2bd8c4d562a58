#include "transport/ProtocolChoice.h"

#include <initializer_list>

#include "transport/ProtocolMask.h"

namespace {

bool IsProtocol(std::uint8_t value) {
    return value == kProtocolIpx || value == kProtocolIp || value == kProtocolDlc;
}

}  // namespace

std::uint8_t ChooseProtocol(const DeviceRecord& record) {
    if (IsProtocol(record.preferredProtocol)) {
        return record.preferredProtocol;
    }
    for (std::uint8_t protocol : {kProtocolIp, kProtocolIpx, kProtocolDlc}) {
        if ((record.protocolMask & protocol) != 0) {
            return protocol;
        }
    }
    return 0;
}

std::uint8_t NextProtocol(std::uint8_t failed, std::uint8_t mask) {
    struct FallBack {
        std::uint8_t failed, first, second;
    };
    constexpr FallBack kFallBacks[] = {
        {kProtocolIp, kProtocolDlc, kProtocolIpx},
        {kProtocolIpx, kProtocolDlc, kProtocolIp},
        {kProtocolDlc, kProtocolIp, kProtocolIpx},
    };
    for (const FallBack& fallBack : kFallBacks) {
        if (fallBack.failed != failed) {
            continue;
        }
        if ((mask & fallBack.first) != 0) {
            return fallBack.first;
        }
        return (mask & fallBack.second) != 0 ? fallBack.second : 0;
    }
    return 0;
}
