#include <memory>
#include <vector>

#include "confighelper/DeadlineReceive.h"
#include "confighelper/Halbrin.h"
#include "platform/services/DebugOutput.h"
#include "platform/services/GlobalMemory.h"
#include "snmp/codec/MessageCodec.h"
#include "snmp/exports/Vantorel.h"
#include "transport/DottedAddress.h"
#include "transport/UdpTransport.h"

namespace {

constexpr std::int32_t kTries = 2;
constexpr std::int32_t kTimeOutSeconds = 3;

struct BlockRelease {
    void operator()(std::uint8_t* block) const { plat::FreeBlock(block); }
};

// The request built from copies of the caller's texts (the builder cuts its texts apart), and its id.
std::vector<std::uint8_t> BuildRequest(std::int32_t operation, const char* oidList, std::uint32_t oidListSize,
                                       const char* values, const std::uint32_t* valuesSize,
                                       std::int32_t count, std::int32_t& requestId) {
    if (oidList == nullptr || values == nullptr || valuesSize == nullptr) {
        return {};
    }
    std::vector<char> oids(oidList, oidList + oidListSize);
    std::vector<char> valueText(values, values + *valuesSize);
    oids.push_back('\0');
    valueText.push_back('\0');
    std::int32_t valueSize = static_cast<std::int32_t>(*valuesSize);
    std::int32_t length = 0;
    std::unique_ptr<std::uint8_t, BlockRelease> packet(
        HelperFormSNMPPacket(operation, oids.data(), static_cast<std::int32_t>(oidListSize), valueText.data(),
                             &valueSize, count, &length));
    if (packet == nullptr || length <= 0) {
        return {};
    }
    std::vector<std::uint8_t> request(packet.get(), packet.get() + length);
    ReqParam* decoded = snmp::DecodeMessage(request.data(), request.size(), snmp::kAcceptRequests);
    if (decoded == nullptr) {
        return {};
    }
    requestId = decoded->RequestId;
    snmp::FreeReqParam(decoded);
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
