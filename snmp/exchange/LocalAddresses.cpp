#include "snmp/exchange/LocalAddresses.h"

#include "transport/IpxTransport.h"
#include "transport/ProtocolMask.h"
#include "transport/UdpTransport.h"

namespace snmp {

namespace {
constexpr std::int32_t kAddressRetries = 1;
constexpr std::int32_t kAddressTimeOutSeconds = 3;
constexpr TransportResult kAddressFound = 1;
}  // namespace

LocalAddresses FindLocalAddresses(std::uint8_t entryMask) {
    LocalAddresses local;
    local.mask = entryMask;
    if ((local.mask & kProtocolIp) != 0) {
        UdpTransport udp(kAddressRetries, kAddressTimeOutSeconds, 0, nullptr, nullptr);
        if (udp.GetLocalAddress(local.ip.data()) != kAddressFound) {
            local.mask &= ~kProtocolIp;
        }
    }
    if ((local.mask & kProtocolIpx) != 0) {
        IpxTransport ipx(kAddressRetries, kAddressTimeOutSeconds, 0, nullptr, nullptr);
        ipx.Bind(0);
        if (ipx.GetLocalAddress(local.ipx.data()) != kAddressFound) {
            local.mask &= ~kProtocolIpx;
        }
    }
    return local;
}

}  // namespace snmp
