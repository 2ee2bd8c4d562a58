#include <cstring>
#include <vector>

#include "confighelper/Halbrin.h"
#include "platform/services/ExportGuard.h"
#include "snmp/exports/Vantorel.h"
#include "snmp/request/SnmpResult.h"
#include "transport/HexCodec.h"

HALBRIN_EXPORT void HexToAscii(char* text, const std::uint8_t* bytes, std::uint32_t count) {
    plat::GuardExport([&] {
        if (text == nullptr || (bytes == nullptr && count > 0)) {
            return;
        }
        BytesToHexText(text, bytes, count);
    });
}

HALBRIN_EXPORT HelperResult AsciiToHex(const char* hexText, std::uint32_t byteCount, const char* adapterName,
                                       std::int32_t operation, char* oidList, std::uint32_t oidListSize) {
    return plat::GuardExport(kSnmpNoResponse, kSnmpNoMemory, [&]() -> HelperResult {
        if (hexText == nullptr || !IsHexText(hexText, 2 * static_cast<std::size_t>(byteCount))) {
            return kSnmpBadVarBinds;
        }
        // One octet-string item: "2,<count>," and the raw bytes, sized for any count.
        const std::string prefix = "2," + std::to_string(byteCount) + ",";
        std::vector<char> values(prefix.begin(), prefix.end());
        values.resize(prefix.size() + byteCount + 1, '\0');
        HexTextToBytes(reinterpret_cast<std::uint8_t*>(values.data() + prefix.size()), hexText, byteCount);
        std::int32_t valueSize = static_cast<std::int32_t>(values.size() - 1);
        return HelperSNMPTransact(adapterName, operation, oidList, static_cast<std::int32_t>(oidListSize),
                                  values.data(), &valueSize, 1);
    });
}
