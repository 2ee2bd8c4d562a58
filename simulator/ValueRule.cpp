#include "simulator/ValueRule.h"

#include <algorithm>

#include "simulator/Mib.h"

namespace sim {

namespace {

ErrorStatus Verdict(bool good) {
    return good ? ErrorStatus::NoError : ErrorStatus::BadValue;
}

int64_t MaskOf(const Mib& mib, const Oid& maskObject) {
    std::optional<MibValue> mask = mib.Get(maskObject);
    return mask ? mask->number : 0;
}

}  // namespace

ValueRule InRange(int64_t lowest, int64_t highest) {
    return [=](const Mib&, const MibValue& value) {
        return Verdict(value.number >= lowest && value.number <= highest);
    };
}

ValueRule OneOf(std::initializer_list<int64_t> allowed) {
    return [list = std::vector<int64_t>(allowed)](const Mib&, const MibValue& value) {
        return Verdict(std::find(list.begin(), list.end(), value.number) != list.end());
    };
}

ValueRule OneBitOf(Oid maskObject) {
    return [maskObject](const Mib& mib, const MibValue& value) {
        int64_t bit = value.number;
        bool single = bit > 0 && (bit & (bit - 1)) == 0;
        return Verdict(single && (bit & MaskOf(mib, maskObject)) != 0);
    };
}

ValueRule WithinMask(Oid maskObject) {
    return [maskObject](const Mib& mib, const MibValue& value) {
        return Verdict(value.number >= 0 && (value.number & ~MaskOf(mib, maskObject)) == 0);
    };
}

ValueRule TextUpTo(size_t longest) {
    return [=](const Mib&, const MibValue& value) { return Verdict(value.bytes.size() <= longest); };
}

}  // namespace sim
