#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "transport/DlcTransport.h"

// Run inside the private test network (VORLANE_LAN set), as scripts/bench does.
namespace {

// Closing a bound asynchronous DLC transport, as the configuration helper does after each detection
// and at shut-down: its reader thread, idle on a pending READ, is stopped and joined.
void BM_CloseAsynchronousDlcTransport(benchmark::State& state) {
    static const bool ready = std::getenv("VORLANE_LAN") != nullptr && DlcInitialize() == kDlcOk;
    if (!ready) {
        state.SkipWithError("no simulated LAN");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto transport = std::make_unique<DlcTransport>(1, 1, kTransportAsynchronous, nullptr, nullptr);
        if (transport->Bind(0) != kDlcOk) {
            state.SkipWithError("the SAP did not open");
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the reader waits on its READ
        state.ResumeTiming();
        transport.reset();
    }
}
BENCHMARK(BM_CloseAsynchronousDlcTransport)->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace
