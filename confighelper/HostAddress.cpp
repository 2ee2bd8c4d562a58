#include <cstring>
#include <string>

#include "confighelper/BindingValue.h"
#include "confighelper/Halbrin.h"
#include "platform/services/ExportGuard.h"
#include "transport/UdpTransport.h"

namespace {

// Room for the longest dotted address and its terminator.
constexpr std::uint32_t kDottedRoom = 16;

}  // namespace

HALBRIN_EXPORT HelperResult HelperGetHostIPAddress(char* buffer, std::uint32_t* size) {
    return plat::GuardExport(kHelperFailed, [&]() -> HelperResult {
        if (buffer == nullptr || size == nullptr || *size < kDottedRoom) {
            return kHelperFailed;
        }
        // The transport knows this machine's address that other hosts reach it by (not a loopback one
        // unless there is no other).
        UdpTransport transport(1, 0, 0, nullptr, nullptr);
        std::uint8_t address[4];
        if (transport.GetLocalAddress(address) != 1) {
            return kHelperFailed;
        }
        const std::string text = DottedAddress(address);
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        *size = static_cast<std::uint32_t>(text.size());
        return kHelperOk;
    });
}
