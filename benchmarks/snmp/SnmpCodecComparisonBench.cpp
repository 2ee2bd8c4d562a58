// The system's SNMP codec side by side with net-snmp's on the same messages: the detail query's get
// of eight objects and its GetResponse. Each iteration is one message.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "benchmarks/snmp/CodecMeasures.h"
#include "benchmarks/snmp/DetailQuery.h"
#include "benchmarks/snmp/NetSnmpCodec.h"
#include "snmp/codec/MessageCodec.h"

namespace snmp::bench {
namespace {

// Before any timing: both sides write the same get byte for byte, and each reads the other's
// messages, so that both measure the same work.
bool SidesAgree(NetSnmpCodec& netSnmp, benchmark::State& state) {
    DetailQuery query;
    std::uint8_t ours[1024];
    std::size_t written = 0;
    std::size_t theirLength = 0;
    const std::uint8_t* theirs = netSnmp.EncodeGet(theirLength);
    const std::vector<std::uint8_t> response = EncodedDetailResponse();
    std::int32_t requestId = 0;
    ReqParam* decoded = theirs != nullptr ? DecodeMessage(theirs, theirLength, kAcceptRequests) : nullptr;
    const bool agree = EncodeMessage(query.Record(kPduGet), ours, sizeof ours, written) == kEncodeOk &&
                       theirs != nullptr &&
                       std::vector(ours, ours + written) == std::vector(theirs, theirs + theirLength) &&
                       netSnmp.Decode(ours, written, &requestId) == 8 && requestId == kDetailRequestId &&
                       decoded != nullptr && decoded->BindingCount == 8 &&
                       netSnmp.FirstOctetString(response.data(), response.size()) == query.name;
    FreeReqParam(decoded);
    if (!agree) {
        state.SkipWithError("the two codecs do not read each other's messages");
    }
    return agree;
}

void OursEncodeGet(benchmark::State& state) {
    MeasureEncode(state, kPduGet);
}
BENCHMARK(OursEncodeGet);

void NetSnmpEncodeGet(benchmark::State& state) {
    NetSnmpCodec netSnmp;
    if (!SidesAgree(netSnmp, state)) {
        return;
    }
    std::size_t length = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(netSnmp.EncodeGet(length));
    }
    state.counters["bytes"] = static_cast<double>(length);
}
BENCHMARK(NetSnmpEncodeGet);

void OursDecodeGetResponse(benchmark::State& state) {
    MeasureDecodeResponse(state);
}
BENCHMARK(OursDecodeGetResponse);

void NetSnmpDecodeGetResponse(benchmark::State& state) {
    NetSnmpCodec netSnmp;
    if (!SidesAgree(netSnmp, state)) {
        return;
    }
    const std::vector<std::uint8_t> message = EncodedDetailResponse();
    for (auto _ : state) {
        benchmark::DoNotOptimize(netSnmp.Decode(message.data(), message.size()));
    }
    state.counters["bytes"] = static_cast<double>(message.size());
}
BENCHMARK(NetSnmpDecodeGetResponse);

}  // namespace
}  // namespace snmp::bench
