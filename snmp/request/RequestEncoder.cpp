#include "snmp/request/RequestEncoder.h"

#include <algorithm>
#include <cstring>

#include "platform/services/GlobalMemory.h"
#include "platform/services/RequestId.h"
#include "snmp/codec/MessageCodec.h"
#include "snmp/request/Community.h"
#include "snmp/request/SnmpResult.h"
#include "snmp/request/ValueTextReader.h"

namespace snmp {

namespace {

constexpr std::size_t kMaxMessage = UINT16_MAX;

// The request record while it is built; its blocks are released whatever the outcome.
class RequestRecord {
  public:
    RequestRecord() = default;
    RequestRecord(const RequestRecord&) = delete;
    RequestRecord& operator=(const RequestRecord&) = delete;
    ~RequestRecord() {
        plat::FreeBlock(record_.Community);
        for (std::size_t i = 0; record_.Bindings != nullptr && i < record_.BindingCount; ++i) {
            plat::FreeBlock(record_.Bindings[i].Value);  // object identifiers point into the caller's text
        }
        plat::FreeBlock(record_.Bindings);
    }

    bool SetCommunity() {
        record_.Community = static_cast<char*>(plat::AllocBlock(kRequestCommunity.size()));
        if (record_.Community == nullptr) {
            return false;
        }
        std::memcpy(record_.Community, kRequestCommunity.data(), kRequestCommunity.size());
        record_.CommunityLength = static_cast<std::uint16_t>(kRequestCommunity.size());
        return true;
    }

    bool SetPduType(std::int32_t operation) {
        constexpr SnmpPduType kTypes[] = {kPduGet, kPduGetNext, kPduSet};
        if (operation < 0 || operation > kOperationSet) {
            return false;
        }
        record_.PduType = kTypes[operation];
        return true;
    }

    void SetRequestId(std::int32_t id) { record_.RequestId = id; }

    std::int32_t BuildVarBinds(const RequestText& text) {
        if (text.count < 0 || static_cast<std::size_t>(text.count) > kMaxBindings) {
            return kSnmpBadVarBinds;
        }
        record_.Bindings = static_cast<VarBind*>(plat::AllocBlock(text.count * sizeof(VarBind)));
        if (record_.Bindings == nullptr) {
            return kSnmpBadVarBinds;
        }
        record_.BindingCount = static_cast<std::uint16_t>(text.count);
        if (text.oidList == nullptr || (text.operation == kOperationSet && text.values == nullptr)) {
            return kSnmpEncodeFailure;
        }
        const char* oid = text.oidList;
        const char* const oidEnd = text.oidList + text.oidLength;
        ValueTextReader values(text.values, text.operation == kOperationSet ? text.valueSize : 0);
        for (std::int32_t i = 0; i < text.count; ++i) {
            VarBind& binding = record_.Bindings[i];
            const char* end = std::find_if(oid, oidEnd, [](char c) { return c == ',' || c == '\0'; });
            binding.Oid = const_cast<char*>(oid);
            binding.OidLength = static_cast<std::int32_t>(end - oid);
            oid = end != oidEnd && *end == ',' ? end + 1 : end;
            if (text.operation == kOperationSet && !ReadValue(values, binding)) {
                return kSnmpEncodeFailure;
            }
        }
        return kSnmpOk;
    }

    const ReqParam& Record() const { return record_; }

  private:
    static bool ReadValue(ValueTextReader& values, VarBind& binding) {
        ValueItem item;
        if (!values.ReadItem(item)) {
            return false;
        }
        binding.ValueType = item.type;
        binding.Value = item.value;
        binding.ValueLength = item.length;
        return true;
    }

    ReqParam record_{};
};

}  // namespace

std::int32_t EncodeRequest(const RequestText& text, EncodedRequest& out) {
    RequestRecord request;
    if (!request.SetCommunity()) {
        return kSnmpBadCommunity;
    }
    if (!request.SetPduType(text.operation)) {
        return kSnmpBadCommand;
    }
    out.requestId = plat::NextRequestId();
    request.SetRequestId(out.requestId);
    if (const std::int32_t built = request.BuildVarBinds(text); built != kSnmpOk) {
        return built;
    }
    const std::size_t size = std::min((text.oidLength + text.valueSize) * 2 + 50, kMaxMessage);
    // The encoder writes every byte it hands on. Sized from the caller's buffers, the block is mostly
    // room never used: clearing it first would cost more than the encoding.
    auto* buffer = static_cast<std::uint8_t*>(plat::AllocRawBlock(size));
    if (buffer == nullptr) {
        return kSnmpNoMemory;
    }
    std::size_t written = 0;
    if (EncodeMessage(request.Record(), buffer, size, written) != kEncodeOk) {
        plat::FreeBlock(buffer);
        return kSnmpEncodeFailure;
    }
    out.message = buffer;
    out.length = static_cast<std::uint16_t>(written);
    return kSnmpOk;
}

}  // namespace snmp
