// Encoding and decoding of the detail query that detection sends every print server it finds: a get
// of eight objects and its GetResponse.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "benchmarks/snmp/CodecMeasures.h"
#include "benchmarks/snmp/DetailQuery.h"
#include "platform/services/GlobalMemory.h"
#include "snmp/codec/MessageCodec.h"
#include "snmp/request/AnswerFormatter.h"
#include "snmp/request/RequestEncoder.h"

namespace snmp {
namespace {

using bench::EncodedDetailResponse;
using bench::kDetailOids;

void EncodeGetRequest(benchmark::State& state) {
    bench::MeasureEncode(state, kPduGet);
}
BENCHMARK(EncodeGetRequest);

void EncodeGetRequestFromText(benchmark::State& state) {
    std::string oids;
    for (const auto& oid : kDetailOids) {
        oids += (oids.empty() ? "" : ",") + oid;
    }
    RequestText text;
    text.oidList = oids.c_str();
    text.oidLength = oids.size() + 1;
    text.valueSize = 256;
    text.count = 8;
    for (auto _ : state) {
        EncodedRequest request;
        EncodeRequest(text, request);
        benchmark::DoNotOptimize(request.message);
        plat::FreeBlock(request.message);
    }
}
BENCHMARK(EncodeGetRequestFromText);

void EncodeGetResponse(benchmark::State& state) {
    bench::MeasureEncode(state, kPduResponse);
}
BENCHMARK(EncodeGetResponse);

void DecodeGetResponse(benchmark::State& state) {
    bench::MeasureDecodeResponse(state);
}
BENCHMARK(DecodeGetResponse);

void DecodeGetResponseToText(benchmark::State& state) {
    const std::vector<std::uint8_t> message = EncodedDetailResponse();
    char oids[512];
    char values[256];
    for (auto _ : state) {
        ReqParam* answer = DecodeMessage(message.data(), message.size(), kAcceptResponse);
        AnswerSizes sizes;
        FormatAnswer(*answer, oids, sizeof oids, values, sizeof values, sizes);
        benchmark::DoNotOptimize(values);
        FreeReqParam(answer);
    }
}
BENCHMARK(DecodeGetResponseToText);

}  // namespace
}  // namespace snmp
