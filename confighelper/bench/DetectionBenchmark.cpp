#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "confighelper/Halbrin.h"
#include "confighelper/RegistryValue.h"
#include "platform/store/ConfigStore.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "simulator/Simulator.h"
#include "transport/DeviceStorePath.h"

namespace {

constexpr std::size_t kCards = 1000;
// The listening window: AutoDetectTimeout 1 is two seconds.
constexpr double kWindowSeconds = 2.0;

sim::CardDescription Card(std::size_t i) {
    sim::CardDescription card;
    card.name = "PS-" + std::to_string(i);
    card.location = "Floor " + std::to_string(i % 9);
    card.mac = {0x00, 0x00, 0x5E, 0x20, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
    card.ip = {127, 2, static_cast<std::uint8_t>(i / 250), static_cast<std::uint8_t>(i % 250 + 1)};
    card.protocols = 2;
    return card;
}

std::size_t StoredEntries() {
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kAdapterOnlyKey);
    return key ? key->SubkeyNames().size() : 0;
}

// Detection of 1000 cards over UDP. Reported: the time the call takes beyond its listening window
// (the detail questions of every card and the two store writes), and the cards found.
void BM_DetectThousandCards(benchmark::State& state) {
    if (const auto snmp = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kSnmpKey)) {
        snmp->WriteNumber("AutoDetectTimeout", 1);
        snmp->WriteNumber("UdpTimeOutInterval", 1);
        snmp->WriteNumber("UdpTotalRetries", 1);
    }
    const char options[] = "1605,1035";
    const char jobFile[] = "/tmp/jobs.txt";
    WriteRegistryValue(plat::kStoreLocalMachine, plat::kDisplayKey, "Options", options, sizeof options,
                       plat::kStoreValueText);
    WriteRegistryValue(plat::kStoreLocalMachine, plat::kPrintJobsKey, "JobFile", jobFile, sizeof jobFile,
                       plat::kStoreValueText);
    char buffer[64];
    std::uint32_t size = sizeof buffer;
    HelperInitialize(0, buffer, &size);

    sim::Simulator cards;
    for (std::size_t i = 0; i < kCards; ++i) {
        cards.AddCard(Card(i));
    }
    std::string error;
    if (!cards.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    double beyond = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        HelperDetectPrintServers(0, 0, 0, 0, 0, 0);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        beyond = took.count() - kWindowSeconds;
        found = StoredEntries();
        state.SetIterationTime(took.count());
    }
    state.counters["beyond_window_s"] = beyond;
    state.counters["found"] = static_cast<double>(found);
    cards.Stop();
    HelperCleanUp(options, sizeof options);
}
BENCHMARK(BM_DetectThousandCards)->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);

}  // namespace
