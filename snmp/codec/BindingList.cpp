#include "snmp/codec/BindingList.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/services/GlobalMemory.h"
#include "snmp/codec/BerTags.h"
#include "snmp/codec/ObjectIdentifier.h"
#include "snmp/codec/ReqParam.h"
#include "snmp/codec/ShortCopy.h"
#include "snmp/codec/SnmpValueType.h"
#include "snmp/codec/ValueDecoder.h"

namespace snmp {

namespace {

constexpr std::size_t kOidText = kMaxOidTextLength + 1;

bool PutValue(BerWriter& out, const VarBind& binding) {
    std::uint32_t number = 0;
    const auto length = static_cast<std::size_t>(binding.ValueLength);
    if (binding.ValueLength < 0 || (binding.Value == nullptr && binding.ValueLength != 0)) {
        return false;
    }
    switch (binding.ValueType) {
        case kSnmpInteger:
            return ReadBindingNumber(binding, number) &&
                   out.PutInteger(kTagInteger, static_cast<std::int32_t>(number));
        case kSnmpCounter:
            return ReadBindingNumber(binding, number) && out.PutUnsigned(kTagCounter, number);
        case kSnmpGauge:
            return ReadBindingNumber(binding, number) && out.PutUnsigned(kTagGauge, number);
        case kSnmpTimeTicks:
            return ReadBindingNumber(binding, number) && out.PutUnsigned(kTagTimeTicks, number);
        case kSnmpOctetString:
            return out.PutOctets(kTagOctetString, binding.Value, length);
        case kSnmpOpaque:
            return out.PutOctets(kTagOpaque, binding.Value, length);
        case kSnmpIpAddress:
            return length >= 4 && out.PutOctets(kTagIpAddress, binding.Value, 4);
        case kSnmpObjectId:
            return out.PutObjectId(std::string_view(static_cast<const char*>(binding.Value), length));
        case kSnmpNull:
            return out.PutOctets(kTagNull, nullptr, 0);
        default:
            return false;
    }
}

bool PutBinding(BerWriter& out, const VarBind& binding, bool withValues) {
    const std::size_t end = out.Size();
    if (binding.Oid == nullptr || binding.OidLength <= 0) {
        return false;
    }
    const bool valueWritten =
        withValues ? PutValue(out, binding) : out.PutOctets(kTagOctetString, nullptr, 0);
    return valueWritten && out.PutObjectId(std::string_view(binding.Oid, binding.OidLength)) &&
           out.PutHeader(kTagSequence, out.Size() - end);
}

// A block of `blockSize` bytes: the given bytes, then zeros (at least the spare terminator).
void* CopyToBlock(const void* bytes, std::size_t length, std::size_t blockSize) {
    auto* block = static_cast<std::uint8_t*>(plat::AllocRawBlock(blockSize));
    if (block != nullptr) {
        CopyBytes(block, bytes, length);
        if (blockSize - length == 1) {  // the usual spare terminator: no call for one byte
            block[length] = 0;
        } else {
            std::memset(block + length, 0, blockSize - length);
        }
    }
    return block;
}

// The object identifier's text goes straight into its block, which is made as large as the longest
// text the content can give: "." and three digits for a one-byte subidentifier, fewer characters
// per byte for a longer one, and the first subidentifier's two arcs take no more.
bool DecodeOid(BerReader& binding, char*& text, std::int32_t& textLength) {
    BerReader content(nullptr, 0);
    if (!binding.ReadElement(kTagObjectId, content)) {
        return false;
    }
    const std::size_t length = content.Remaining();
    const std::size_t block = std::min(4 * length + 1, kOidText);
    text = static_cast<char*>(plat::AllocRawBlock(block));
    std::size_t written = 0;
    if (text == nullptr || !OidContentToText(content.Take(length), length, text, block, written)) {
        return false;
    }
    textLength = static_cast<std::int32_t>(written);
    return true;
}

bool DecodeBinding(BerReader& list, std::size_t valueBlock, VarBind& binding) {
    BerReader content(nullptr, 0);
    DecodedValue value;
    if (!list.ReadElement(kTagSequence, content) || !DecodeOid(content, binding.Oid, binding.OidLength) ||
        !DecodeValue(content, value) || !content.AtEnd()) {
        return false;
    }
    if (valueBlock != 0 && value.length > valueBlock) {
        return false;
    }
    binding.ValueType = value.type;
    binding.Value = CopyToBlock(value.bytes, value.length, valueBlock != 0 ? valueBlock : value.length + 1);
    binding.ValueLength = static_cast<std::int32_t>(value.length);
    return binding.Value != nullptr;
}

}  // namespace

bool EncodeBindingList(BerWriter& out, const VarBind* bindings, std::size_t count, bool withValues) {
    if (count != 0 && bindings == nullptr) {
        return false;
    }
    const std::size_t end = out.Size();
    for (std::size_t i = count; i-- > 0;) {
        if (!PutBinding(out, bindings[i], withValues)) {
            return false;
        }
    }
    return out.PutHeader(kTagSequence, out.Size() - end);
}

// Flattened: a binding's decode is a dozen small reads and copies spread over the codec's files,
// and the calls between them cost as much as the reads.
[[gnu::flatten]] bool DecodeBindingList(BerReader list, std::size_t valueBlock, VarBind*& bindings,
                                        std::uint16_t& count) {
    // Read into room for the most a message may hold, then kept in an array of the count read.
    VarBind read[kMaxBindings];
    std::size_t readCount = 0;
    auto refuse = [&] {
        for (std::size_t i = 0; i < readCount; ++i) {
            plat::FreeBlock(read[i].Oid);
            plat::FreeBlock(read[i].Value);
        }
        return false;
    };
    bindings = nullptr;
    count = 0;
    while (!list.AtEnd()) {
        if (readCount == kMaxBindings) {
            return refuse();
        }
        // Counted before it is read, so that a half-made binding's blocks are freed with the rest.
        VarBind& binding = read[readCount++];
        binding.Oid = nullptr;
        binding.Value = nullptr;
        if (!DecodeBinding(list, valueBlock, binding)) {
            return refuse();
        }
    }
    bindings = static_cast<VarBind*>(plat::AllocRawBlock(readCount * sizeof(VarBind)));
    if (bindings == nullptr) {
        return refuse();
    }
    std::memcpy(bindings, read, readCount * sizeof(VarBind));
    count = static_cast<std::uint16_t>(readCount);
    return true;
}

}  // namespace snmp
