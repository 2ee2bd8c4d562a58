// The system's SNMP codec side by side with net-snmp's on the same messages: the detail query's get
// of eight objects and its GetResponse. The system's side goes through the library's exports, as
// detection calls them: the get encoded into the caller's buffer, the answer decoded into a record
// that is freed block by block. Each iteration of a half is one message; of a round trip, the get
// encoded and its answer decoded.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "benchmarks/snmp/DetailQuery.h"
#include "benchmarks/snmp/NetSnmpCodec.h"
#include "snmp/codec/MessageCodec.h"
#include "snmp/exports/Vantorel.h"

namespace snmp::bench {
namespace {

constexpr std::uint16_t kMessageRoom = 1024;

// The get through the encoding export, as detection sends it.
bool OursEncode(ReqParam& get, std::uint8_t* buffer, std::uint16_t& length) {
    length = kMessageRoom;
    return HelperSnmpEncodePdu(&get, buffer, &length) == 0;
}

// The answer through the decoding export, its record freed; the number of bindings it held.
int OursDecode(const std::vector<std::uint8_t>& response) {
    ReqParam* answer = HelperSnmpDecodePdu(response.data(), static_cast<std::int32_t>(response.size()));
    benchmark::DoNotOptimize(answer);
    const int count = answer != nullptr ? answer->BindingCount : -1;
    HelperFreeReqParam(answer);
    return count;
}

// Before any timing: both sides write the same get byte for byte, and each reads the other's
// messages, so that both measure the same work.
bool SidesAgree(benchmark::State& state) {
    NetSnmpCodec netSnmp;
    DetailQuery query;
    ReqParam get = query.Record(kPduGet);
    std::uint8_t ours[kMessageRoom];
    std::uint16_t written = 0;
    std::size_t theirLength = 0;
    const std::uint8_t* theirs = netSnmp.EncodeGet(theirLength);
    const std::vector<std::uint8_t> response = EncodedDetailResponse();
    std::int32_t requestId = 0;
    // A get is read by the codec itself: the library decodes only responses.
    ReqParam* decoded = theirs != nullptr ? DecodeMessage(theirs, theirLength, kAcceptRequests) : nullptr;
    const bool agree = OursEncode(get, ours, written) && theirs != nullptr &&
                       std::vector(ours, ours + written) == std::vector(theirs, theirs + theirLength) &&
                       netSnmp.Decode(ours, written, &requestId) == 8 && requestId == kDetailRequestId &&
                       decoded != nullptr && decoded->BindingCount == 8 && OursDecode(response) == 8 &&
                       netSnmp.FirstOctetString(response.data(), response.size()) == query.name;
    FreeReqParam(decoded);
    if (!agree) {
        state.SkipWithError("the two codecs do not read each other's messages");
    }
    return agree;
}

void OursEncodeGet(benchmark::State& state) {
    if (!SidesAgree(state)) {
        return;
    }
    DetailQuery query;
    ReqParam get = query.Record(kPduGet);
    std::uint8_t buffer[kMessageRoom];
    std::uint16_t length = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(OursEncode(get, buffer, length));
        benchmark::ClobberMemory();
    }
    state.counters["bytes"] = length;
}
BENCHMARK(OursEncodeGet);

void NetSnmpEncodeGet(benchmark::State& state) {
    NetSnmpCodec netSnmp;
    if (!SidesAgree(state)) {
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
    if (!SidesAgree(state)) {
        return;
    }
    const std::vector<std::uint8_t> message = EncodedDetailResponse();
    for (auto _ : state) {
        benchmark::DoNotOptimize(OursDecode(message));
    }
    state.counters["bytes"] = static_cast<double>(message.size());
}
BENCHMARK(OursDecodeGetResponse);

void NetSnmpDecodeGetResponse(benchmark::State& state) {
    NetSnmpCodec netSnmp;
    if (!SidesAgree(state)) {
        return;
    }
    const std::vector<std::uint8_t> message = EncodedDetailResponse();
    for (auto _ : state) {
        benchmark::DoNotOptimize(netSnmp.Decode(message.data(), message.size()));
    }
    state.counters["bytes"] = static_cast<double>(message.size());
}
BENCHMARK(NetSnmpDecodeGetResponse);

// Both halves in one loop: the figure that the two sides are compared by.
void OursEncodeAndDecode(benchmark::State& state) {
    if (!SidesAgree(state)) {
        return;
    }
    DetailQuery query;
    ReqParam get = query.Record(kPduGet);
    const std::vector<std::uint8_t> response = EncodedDetailResponse();
    std::uint8_t buffer[kMessageRoom];
    std::uint16_t length = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(OursEncode(get, buffer, length));
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(OursDecode(response));
    }
}
BENCHMARK(OursEncodeAndDecode);

void NetSnmpEncodeAndDecode(benchmark::State& state) {
    NetSnmpCodec netSnmp;
    if (!SidesAgree(state)) {
        return;
    }
    const std::vector<std::uint8_t> response = EncodedDetailResponse();
    std::size_t length = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(netSnmp.EncodeGet(length));
        benchmark::DoNotOptimize(netSnmp.Decode(response.data(), response.size()));
    }
}
BENCHMARK(NetSnmpEncodeAndDecode);

}  // namespace
}  // namespace snmp::bench
