#include <benchmark/benchmark.h>
#include <sys/resource.h>

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

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void StartLibrary() {
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
}

// Detections of N print servers over UDP against one simulator in this process, each after the
// last (as a console's refreshes: the store already holds the entries of the one before). Reported,
// for the last: the time the call takes beyond its listening window (the detail questions of every
// print server and the store's purge and writes), the print servers stored, and the process's peak
// resident memory (the simulator's cards included) with how much the detection added to it.
void BM_Detect(benchmark::State& state) {
    const auto cards = static_cast<std::size_t>(state.range(0));
    StartLibrary();
    sim::Simulator simulator;
    for (std::size_t i = 0; i < cards; ++i) {
        simulator.AddCard(Card(i));
    }
    std::string error;
    if (!simulator.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    double beyond = 0;
    std::size_t found = 0;
    double peakBefore = 0;
    for (auto _ : state) {
        peakBefore = PeakMegabytes();
        const auto start = std::chrono::steady_clock::now();
        HelperDetectPrintServers(0, 0, 0, 0, 0, 0);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        beyond = took.count() - kWindowSeconds;
        found = StoredEntries();
        state.SetIterationTime(took.count());
    }
    state.counters["beyond_window_s"] = beyond;
    state.counters["found"] = static_cast<double>(found);
    state.counters["peak_mb"] = PeakMegabytes();
    state.counters["detection_added_mb"] = PeakMegabytes() - peakBefore;
    simulator.Stop();
    const char options[] = "1605,1035";
    HelperCleanUp(options, sizeof options);
}
BENCHMARK(BM_Detect)->Arg(1000)->Arg(3000)->Arg(10000)->UseManualTime()->Iterations(2)->Unit(
    benchmark::kSecond);

}  // namespace
