#include <algorithm>
#include <limits>
#include <vector>

#include "confighelper/DeadlineReceive.h"
#include "confighelper/Halbrin.h"
#include "platform/services/DebugOutput.h"
#include "platform/services/ExportGuard.h"
#include "platform/services/GlobalMemory.h"
#include "platform/services/RequestId.h"
#include "snmp/exports/Vantorel.h"
#include "transport/DottedAddress.h"
#include "transport/UdpTransport.h"

namespace {

constexpr std::int32_t kTries = 2;
constexpr std::int32_t kTimeOutSeconds = 3;

std::int32_t SizeArgument(std::uint32_t size) {
    return static_cast<std::int32_t>(std::min<std::uint32_t>(size, std::numeric_limits<std::int32_t>::max()));
}

// The request built from the caller's texts, which are only read, by the SNMP library, and its id;
// empty when it cannot be built.
std::vector<std::uint8_t> BuildRequest(std::int32_t operation, char* oidList, std::uint32_t oidListSize,
                                       char* values, const std::uint32_t* valuesSize, std::int32_t count,
                                       std::int32_t& requestId) {
    std::int32_t valueSize = SizeArgument(valuesSize != nullptr ? *valuesSize : 0);
    std::int32_t length = 0;
    std::uint8_t* message = HelperFormSNMPPacket(operation, oidList, SizeArgument(oidListSize), values,
                                                 &valueSize, count, &length);
    if (message == nullptr) {
        return {};
    }
    // The packet took the next id of the process on this thread.
    requestId = plat::LastRequestId();
    std::vector<std::uint8_t> request(message, message + length);
    plat::FreeBlock(message);
    return request;
}

}  // namespace

HALBRIN_EXPORT HelperResult HelperSetTFTPParameters(const char* ipAddress, std::int32_t operation,
                                                    char* oidList, std::uint32_t oidListSize, char* values,
                                                    std::uint32_t* valuesSize, std::int32_t count) {
    return plat::GuardExport(kHelperFailed, [&]() -> HelperResult {
        plat::DebugOutput("\n+HelperSetTFTPParameters:entry");
        std::int32_t requestId = 0;
        const std::vector<std::uint8_t> request =
            BuildRequest(operation, oidList, oidListSize, values, valuesSize, count, requestId);
        if (request.empty() || ipAddress == nullptr || !ParseDottedAddress(ipAddress)) {
            return kHelperFailed;
        }
        plat::DebugOutput("\nSending...");
        UdpTransport transport(kTries, kTimeOutSeconds, 0, nullptr, nullptr);
        transport.Bind(0);
        const TransportResult sent =
            transport.SendToDefault(request.data(), static_cast<std::uint32_t>(request.size()), ipAddress);
        if (sent != kTransportOk) {
            plat::DebugPrintf("\nHelperSetTFTPParameters:send failed\nreturn code=%d", sent);
            return kHelperFailed;
        }
        plat::DebugOutput("\nreceiving");
        const std::uint32_t deadline = plat::TickCount() + kTries * kTimeOutSeconds * 1000;
        if (AwaitAnswer(transport, deadline, requestId, Refusal::kEnds) == nullptr) {
            plat::DebugOutput("\nHelperSetTFTPParameters:receive failed");
            return kHelperFailed;
        }
        plat::DebugOutput("\nHelperSetTFTPParameters:receive successful");
        return kHelperOk;
    });
}
