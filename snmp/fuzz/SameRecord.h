#pragma once

#include <cstring>

#include "snmp/codec/VarBind.h"

// Comparisons of decoded records for the round trips of the fuzz targets.
namespace snmp::fuzz {

inline bool SameBytes(const void* a, std::int32_t aLength, const void* b, std::int32_t bLength) {
    return aLength == bLength && (aLength == 0 || std::memcmp(a, b, static_cast<std::size_t>(aLength)) == 0);
}

// Same objects, and without `withValues` nothing more (get and get-next carry no values).
inline bool SameBindings(const VarBind* a, const VarBind* b, std::uint16_t count, bool withValues) {
    for (std::uint16_t i = 0; i < count; ++i) {
        if (!SameBytes(a[i].Oid, a[i].OidLength, b[i].Oid, b[i].OidLength) ||
            (withValues && (a[i].ValueType != b[i].ValueType ||
                            !SameBytes(a[i].Value, a[i].ValueLength, b[i].Value, b[i].ValueLength)))) {
            return false;
        }
    }
    return true;
}

}  // namespace snmp::fuzz
