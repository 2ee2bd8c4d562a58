// Encoding and decoding of the detail query that detection sends every print server it finds: a get
// of eight objects and its GetResponse.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/services/GlobalMemory.h"
#include "snmp/codec/MessageCodec.h"
#include "snmp/codec/SnmpValueType.h"
#include "snmp/request/AnswerFormatter.h"
#include "snmp/request/RequestEncoder.h"

namespace snmp {
namespace {

const std::string kOids[] = {
    "1.3.6.1.2.1.1.5.0",
    "1.3.6.1.2.1.1.6.0",
    "1.3.6.1.4.1.32473.11.5.1.1.9.1.0",
    "1.3.6.1.4.1.32473.11.5.1.12.6.1.6.0",
    "1.3.6.1.2.1.2.2.1.6.2",
    "1.3.6.1.4.1.32473.11.5.1.12.2.5.0",
    "1.3.6.1.4.1.23.2.5.1.1.1.3.1",
    "1.3.6.1.4.1.23.2.5.1.1.1.4.1",
};

// The eight bindings of the query and, for the answer, their typical values.
struct DetailQuery {
    char community[12] = "k!r@o#v$e%t";
    std::string name = "PRINTSRV-0A1B2C";
    std::string location = "Building 4, second floor, copy room";
    std::int32_t status = 1025;
    std::int32_t category = 2;
    std::uint8_t mac[6] = {0x00, 0x40, 0xAF, 0x0A, 0x1B, 0x2C};
    std::uint8_t ip[4] = {192, 168, 10, 57};
    std::uint8_t ipxNet[4] = {0x00, 0x00, 0x12, 0x34};
    std::uint8_t ipxNode[6] = {0x00, 0x40, 0xAF, 0x0A, 0x1B, 0x2C};
    VarBind bindings[8];

    ReqParam Record(std::int32_t pduType) {
        void* values[] = {name.data(), location.data(), &status, &category, mac, ip, ipxNet, ipxNode};
        const std::int32_t types[] = {kSnmpOctetString, kSnmpOctetString, kSnmpInteger,     kSnmpInteger,
                                      kSnmpOctetString, kSnmpIpAddress,   kSnmpOctetString, kSnmpOctetString};
        const std::int32_t lengths[] = {static_cast<std::int32_t>(name.size()),
                                        static_cast<std::int32_t>(location.size()),
                                        4,
                                        4,
                                        6,
                                        4,
                                        4,
                                        6};
        for (int i = 0; i < 8; ++i) {
            bindings[i] =
                VarBind{const_cast<char*>(kOids[i].data()), static_cast<std::int32_t>(kOids[i].size()),
                        types[i], values[i], lengths[i]};
        }
        return ReqParam{community, 11, pduType, 4711, 0, 0, 8, bindings};
    }
};

std::vector<std::uint8_t> EncodedResponse() {
    DetailQuery query;
    std::vector<std::uint8_t> message(1024);
    std::size_t written = 0;
    EncodeMessage(query.Record(kPduResponse), message.data(), message.size(), written);
    message.resize(written);
    return message;
}

void EncodeGetRequest(benchmark::State& state) {
    DetailQuery query;
    const ReqParam request = query.Record(kPduGet);
    std::uint8_t buffer[1024];
    std::size_t written = 0;
    for (auto _ : state) {
        EncodeMessage(request, buffer, sizeof buffer, written);
        benchmark::DoNotOptimize(buffer);
    }
    state.counters["bytes"] = static_cast<double>(written);
}
BENCHMARK(EncodeGetRequest);

void EncodeGetRequestFromText(benchmark::State& state) {
    std::string oids;
    for (const auto& oid : kOids) {
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
    DetailQuery query;
    const ReqParam response = query.Record(kPduResponse);
    std::uint8_t buffer[1024];
    std::size_t written = 0;
    for (auto _ : state) {
        EncodeMessage(response, buffer, sizeof buffer, written);
        benchmark::DoNotOptimize(buffer);
    }
    state.counters["bytes"] = static_cast<double>(written);
}
BENCHMARK(EncodeGetResponse);

void DecodeGetResponse(benchmark::State& state) {
    const std::vector<std::uint8_t> message = EncodedResponse();
    for (auto _ : state) {
        ReqParam* answer = DecodeMessage(message.data(), message.size(), kAcceptResponse);
        benchmark::DoNotOptimize(answer);
        FreeReqParam(answer);
    }
    state.counters["bytes"] = static_cast<double>(message.size());
}
BENCHMARK(DecodeGetResponse);

void DecodeGetResponseToText(benchmark::State& state) {
    const std::vector<std::uint8_t> message = EncodedResponse();
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
