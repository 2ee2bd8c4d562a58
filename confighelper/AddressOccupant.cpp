#include "confighelper/AddressOccupant.h"

#include <algorithm>
#include <cstring>

#include "confighelper/BindingValue.h"
#include "confighelper/DeadlineReceive.h"
#include "confighelper/SnmpMessage.h"
#include "transport/UdpTransport.h"

namespace {

constexpr const char* kHardwareAddressOid = "1.3.6.1.2.1.2.2.1.6.2";

// An error-free answer to this request that carries the hardware address comes from that card;
// any other datagram on the asking socket comes from something else at the address.
Occupant Identify(const std::vector<std::uint8_t>& datagram, std::uint32_t length, std::int32_t requestId,
                  const std::array<std::uint8_t, 6>& hardware) {
    const Answer answer = DecodeAnswer(datagram.data(), length);
    const std::uint8_t* bytes = nullptr;
    const bool same = answer != nullptr && answer->RequestId == requestId && answer->ErrorStatus == 0 &&
                      answer->BindingCount >= 1 && answer->Bindings != nullptr &&
                      BytesValue(answer->Bindings[0], kSnmpOctetString, hardware.size(), bytes) &&
                      std::memcmp(bytes, hardware.data(), hardware.size()) == 0;
    return same ? Occupant::kThisCard : Occupant::kAnother;
}

}  // namespace

Occupant AskAddress(const char* address, const std::array<std::uint8_t, 6>& hardware, std::uint32_t attempts,
                    std::uint32_t seconds) {
    const std::int32_t requestId = plat::NextRequestId();
    const std::vector<std::uint8_t> request =
        EncodeRequest(kPduGet, requestId, GetBindings(kHardwareAddressOid));
    UdpTransport transport(1, static_cast<std::int32_t>(seconds), 0, nullptr, nullptr);
    if (request.empty() || transport.Bind(0) != kTransportOk) {
        return Occupant::kNobody;
    }
    std::vector<std::uint8_t> datagram;
    for (std::uint32_t attempt = 0; attempt < std::max<std::uint32_t>(attempts, 1); ++attempt) {
        if (transport.SendToDefault(request.data(), static_cast<std::uint32_t>(request.size()), address) !=
            kTransportOk) {
            continue;
        }
        std::uint32_t length = 0;
        if (ReceiveBefore(transport, plat::TickCount() + seconds * 1000, datagram, length) == kTransportOk) {
            return Identify(datagram, length, requestId, hardware);
        }
    }
    return Occupant::kNobody;
}
