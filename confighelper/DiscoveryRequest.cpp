#include "confighelper/DiscoveryRequest.h"

#include "confighelper/SnmpMessage.h"

namespace {

constexpr const char* kDiscoveryOids =
    "1.3.6.1.2.1.2.2.1.6.2,1.3.6.1.4.1.32473.11.5.1.12.2.5.0,1.3.6.1.4.1.32473.11.5.1.12.6.1.6.0";

}  // namespace

std::vector<std::uint8_t> BuildDiscoveryRequest(std::int32_t requestId) {
    return EncodeRequest(kPduGet, requestId, GetBindings(kDiscoveryOids));
}
