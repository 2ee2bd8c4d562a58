#pragma once

// The system codec's measures on the detail query's messages, each iteration one message, through
// its internal entry points (the comparison with net-snmp goes through the library's exports).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "benchmarks/snmp/DetailQuery.h"
#include "snmp/codec/MessageCodec.h"

namespace snmp::bench {

// Encodes the query's record of the given PDU type (a get sends no values, a response all eight).
inline void MeasureEncode(benchmark::State& state, std::int32_t pduType) {
    DetailQuery query;
    const ReqParam message = query.Record(pduType);
    std::uint8_t buffer[1024];
    std::size_t written = 0;
    for (auto _ : state) {
        EncodeMessage(message, buffer, sizeof buffer, written);
        benchmark::DoNotOptimize(buffer);
    }
    state.counters["bytes"] = static_cast<double>(written);
}

// Decodes the GetResponse into a record and frees it.
inline void MeasureDecodeResponse(benchmark::State& state) {
    const std::vector<std::uint8_t> message = EncodedDetailResponse();
    for (auto _ : state) {
        ReqParam* answer = DecodeMessage(message.data(), message.size(), kAcceptResponse);
        benchmark::DoNotOptimize(answer);
        FreeReqParam(answer);
    }
    state.counters["bytes"] = static_cast<double>(message.size());
}

}  // namespace snmp::bench
