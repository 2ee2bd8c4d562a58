#include <algorithm>
#include <cstring>

#include "confighelper/BindingValue.h"
#include "confighelper/ChannelExchange.h"
#include "confighelper/Halbrin.h"
#include "platform/services/ExportGuard.h"
#include "snmp/codec/SnmpValueType.h"
#include "snmp/request/SnmpResult.h"

namespace {

constexpr const char* kStatusOids = "1.3.6.1.4.1.32473.11.5.1.1.9.1.0,1.3.6.1.4.1.32473.11.5.1.12.4.2.0";

}  // namespace

HALBRIN_EXPORT HelperResult HelperGetPrinterStatusCode(const char* adapterName, std::int32_t* statusCode,
                                                       char* text, std::uint32_t* textLength) {
    return plat::GuardExport(kSnmpDecodeFailure, kHelperNoMemory, [&]() -> HelperResult {
        if (adapterName == nullptr || statusCode == nullptr || text == nullptr || textLength == nullptr ||
            *textLength == 0) {
            return kSnmpBufferTooSmall;
        }
        Answer answer;
        const HelperResult result = GetOverChannel(adapterName, kStatusOids, answer);
        if (result != kHelperOk) {
            return result;
        }
        if (answer->ErrorStatus != 0) {
            return kSnmpAgentError;
        }
        std::int32_t code = 0;
        if (answer->BindingCount < 1 || !IntegerValue(answer->Bindings[0], code)) {
            return kSnmpDecodeFailure;
        }
        *statusCode = code;
        std::size_t length = 0;
        if (answer->BindingCount >= 2 && answer->Bindings[1].ValueType == kSnmpOctetString &&
            answer->Bindings[1].ValueLength > 0 && answer->Bindings[1].Value != nullptr) {
            length = std::min<std::size_t>(static_cast<std::size_t>(answer->Bindings[1].ValueLength),
                                           *textLength - 1);
            std::memcpy(text, answer->Bindings[1].Value, length);
        }
        text[length] = '\0';
        *textLength = static_cast<std::uint32_t>(length);
        return kHelperOk;
    });
}
