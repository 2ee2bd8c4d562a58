#include <cstring>
#include <string>

#include "confighelper/AppleTalkZoneWalk.h"
#include "confighelper/BindingValue.h"
#include "confighelper/ChannelExchange.h"
#include "confighelper/Halbrin.h"
#include "platform/services/ExportGuard.h"
#include "snmp/codec/SnmpValueType.h"

namespace {

constexpr const char* kZoneTableOid = "1.3.6.1.4.1.32473.11.5.1.12.6.1.4.2";

// One segment of the zone table starting at zone `index`: its value bytes, or a failure result.
HelperResult ReadSegment(const char* adapterName, int index, std::string& segment) {
    Answer answer;
    const HelperResult result =
        GetOverChannel(adapterName, std::string(kZoneTableOid) + "." + std::to_string(index), answer);
    if (result != kHelperOk) {
        return result;
    }
    const VarBind* binding = answer->BindingCount == 1 ? answer->Bindings : nullptr;
    if (answer->ErrorStatus != 0 || binding == nullptr || binding->ValueType != kSnmpOctetString ||
        binding->ValueLength < 0 || (binding->Value == nullptr && binding->ValueLength > 0)) {
        return kHelperDecodeFailed;
    }
    if (binding->ValueLength > 0) {
        segment.assign(static_cast<const char*>(binding->Value),
                       static_cast<std::size_t>(binding->ValueLength));
    }
    return kHelperOk;
}

}  // namespace

HALBRIN_EXPORT HelperResult HelperGetAppleTalkZones(const char* adapterName, char* buffer,
                                                    std::uint32_t* size) {
    return plat::GuardExport(kHelperDecodeFailed, kHelperNoMemory, [&]() -> HelperResult {
        if (adapterName == nullptr || buffer == nullptr || size == nullptr) {
            return kHelperNoMemory;
        }
        ZoneText zones(*size);
        const HelperResult result = WalkZones(
            [adapterName](int index, std::string& segment) {
                return ReadSegment(adapterName, index, segment);
            },
            zones);
        if (result != kHelperOk) {
            return result;
        }
        if (zones.Overflow()) {
            *size = static_cast<std::uint32_t>(zones.Needed());
            return kHelperBufferTooSmall;
        }
        const std::string text = zones.Final();
        if (text.size() + 1 > *size) {
            *size = static_cast<std::uint32_t>(text.size() + 1);
            return kHelperBufferTooSmall;
        }
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        *size = static_cast<std::uint32_t>(text.size());
        return kHelperOk;
    });
}

HALBRIN_EXPORT HelperResult HelperAppleTalkToAscii(std::intptr_t, std::intptr_t) {
    return kHelperOk;
}
