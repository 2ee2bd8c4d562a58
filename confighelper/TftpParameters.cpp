#include <vector>

#include "confighelper/DeadlineReceive.h"
#include "confighelper/Halbrin.h"
#include "platform/services/DebugOutput.h"
#include "platform/services/GlobalMemory.h"
#include "snmp/request/RequestEncoder.h"
#include "snmp/request/SnmpResult.h"
#include "transport/DottedAddress.h"
#include "transport/UdpTransport.h"

namespace {

constexpr std::int32_t kTries = 2;
constexpr std::int32_t kTimeOutSeconds = 3;

// The request built from the caller's texts, which are only read, and its id; empty when it cannot be
// built.
std::vector<std::uint8_t> BuildRequest(std::int32_t operation, const char* oidList, std::uint32_t oidListSize,
                                       const char* values, const std::uint32_t* valuesSize,
                                       std::int32_t count, std::int32_t& requestId) {
    const snmp::RequestText text{
        operation, oidList, oidListSize, values, valuesSize != nullptr ? *valuesSize : 0, count};
    snmp::EncodedRequest encoded;
    if (snmp::EncodeRequest(text, encoded) != kSnmpOk) {
        return {};
    }
    std::vector<std::uint8_t> request(encoded.message, encoded.message + encoded.length);
    plat::FreeBlock(encoded.message);
    requestId = encoded.requestId;
    return request;
}

}  // namespace

HALBRIN_EXPORT HelperResult HelperSetTFTPParameters(const char* ipAddress, std::int32_t operation,
                                                    char* oidList, std::uint32_t oidListSize, char* values,
                                                    std::uint32_t* valuesSize, std::int32_t count) {
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
}
