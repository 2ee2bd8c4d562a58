// Time to serve a 4 MiB firmware file to one client: fendrel against Debian's in.tftpd, side by side.
// Both serve on port 69 in turn, inside the private test network (scripts/bench); the interleaved
// runs give the two servers the same share of the machine's noise.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "firmware/tests/support/ChildProcess.h"
#include "firmware/tests/support/EventWindow.h"
#include "firmware/tests/support/FendrelRun.h"
#include "firmware/tests/support/StoreAccess.h"
#include "firmware/tests/support/TestFiles.h"
#include "firmware/tests/support/TftpClient.h"
#include "platform/store/StorePaths.h"

namespace {

constexpr std::size_t kFileSize = 4 << 20;
const char* const kFileName = "firmware.bin";

enum Client { kOwnClient, kTftpHpaClient };

struct Fixture {
    fendreltest::TestFolder folder;
    std::vector<std::uint8_t> content = fendreltest::Pattern(kFileSize, 5);
    std::string path = folder.Write(kFileName, content);
};

Fixture& Files() {
    static Fixture fixture;
    return fixture;
}

// One read of the whole file; false when it did not arrive whole.
bool ReadOnce(Client client, const std::string& remoteName) {
    if (client == kOwnClient) {
        const fendreltest::TftpClientResult result = fendreltest::TftpGet(remoteName);
        return result.ok && result.data == Files().content;
    }
    const std::string local = Files().folder.Path("copy.bin");
    fendreltest::ChildProcess tftp;
    return tftp.Start("tftp", {"127.0.0.1", "-m", "octet", "-c", "get", remoteName, local}) &&
           tftp.WaitForExit(60000) == 0 && Files().folder.Read("copy.bin") == Files().content;
}

void Serve(benchmark::State& state, const std::string& remoteName) {
    const Client client = static_cast<Client>(state.range(0));
    for (auto _ : state) {
        if (!ReadOnce(client, remoteName)) {
            state.SkipWithError("the file did not arrive whole");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
    state.SetLabel(client == kOwnClient ? "own client" : "tftp-hpa client");
}

// fendrel as the console runs it; range(1) = 1 sends its events to a window of this process.
void BM_Fendrel(benchmark::State& state) {
    fendreltest::SetStoreText(plat::kTftpKey, "FlashFile", Files().path);
    std::unique_ptr<fendreltest::EventWindow> events;
    plat::WindowHandle console = 0;
    if (state.range(1) == 1) {
        events = std::make_unique<fendreltest::EventWindow>();
        console = events->Handle();
    }
    fendreltest::FendrelRun run;
    if (!run.Start(console)) {
        state.SkipWithError("fendrel did not start");
        return;
    }
    run.Serve(console);
    Serve(state, Files().path);
    run.Release();
}

// in.tftpd serving the file's folder, once it answers.
bool StartInTftpd(fendreltest::ChildProcess& server) {
    const std::string folder = Files().path.substr(0, Files().path.rfind('/'));
    if (!server.Start("/usr/sbin/in.tftpd", {"-4", "-L", "-u", "root", "-s", folder},
                      {std::string("LD_PRELOAD=") + TFTPD_SHIM})) {
        return false;
    }
    fendreltest::TftpClientOptions probe;
    probe.attempts = 100;
    return fendreltest::TftpGet(kFileName, probe).ok;
}

void BM_InTftpd(benchmark::State& state) {
    fendreltest::ChildProcess server;
    if (!StartInTftpd(server)) {
        state.SkipWithError("in.tftpd did not start");
        return;
    }
    Serve(state, kFileName);
}

// Seconds that `reads` whole reads took; negative when one failed.
double TimedReads(Client client, const std::string& remoteName, int reads) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < reads; ++i) {
        if (!ReadOnce(client, remoteName)) {
            return -1;
        }
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double FendrelReads(Client client, int reads) {
    fendreltest::FendrelRun run;
    if (!run.Start(0)) {
        return -1;
    }
    run.Serve(0);
    const double seconds = TimedReads(client, Files().path, reads);
    run.Release();
    return seconds;
}

double InTftpdReads(Client client, int reads) {
    fendreltest::ChildProcess server;
    return StartInTftpd(server) ? TimedReads(client, kFileName, reads) : -1;
}

// Each iteration serves the same reads from fendrel and from in.tftpd, one right after the other and
// in alternating order; its time is fendrel's. The counters give both servers' time per file and
// fendrel's time as a share of in.tftpd's (below 1: faster).
void BM_Interleaved(benchmark::State& state) {
    constexpr int kReads = 4;
    fendreltest::SetStoreText(plat::kTftpKey, "FlashFile", Files().path);
    const Client client = static_cast<Client>(state.range(0));
    double fendrelTotal = 0;
    double inTftpdTotal = 0;
    bool fendrelFirst = true;
    for (auto _ : state) {
        double fendrel = 0;
        double inTftpd = 0;
        if (fendrelFirst) {
            fendrel = FendrelReads(client, kReads);
            inTftpd = InTftpdReads(client, kReads);
        } else {
            inTftpd = InTftpdReads(client, kReads);
            fendrel = FendrelReads(client, kReads);
        }
        if (fendrel < 0 || inTftpd < 0) {
            state.SkipWithError("a server did not deliver the file whole");
            return;
        }
        fendrelFirst = !fendrelFirst;
        state.SetIterationTime(fendrel / kReads);
        fendrelTotal += fendrel;
        inTftpdTotal += inTftpd;
    }
    const double files = static_cast<double>(state.iterations()) * kReads;
    state.counters["fendrel_ms"] = fendrelTotal * 1000 / files;
    state.counters["in.tftpd_ms"] = inTftpdTotal * 1000 / files;
    state.counters["ratio"] = fendrelTotal / inTftpdTotal;
    state.SetLabel(client == kOwnClient ? "own client" : "tftp-hpa client");
}

// Other programs on the machine disturb single runs: five runs each, reported by their median and
// their best.
void Measure(benchmark::internal::Benchmark* benchmark) {
    benchmark->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(10)
        ->Repetitions(5)
        ->ComputeStatistics(
            "min",
            [](const std::vector<double>& runs) { return *std::min_element(runs.begin(), runs.end()); })
        ->ReportAggregatesOnly(true);
}

BENCHMARK(BM_Fendrel)
    ->ArgsProduct({{kOwnClient, kTftpHpaClient}, {0}})
    ->Args({kOwnClient, 1})
    ->Apply(Measure);
BENCHMARK(BM_InTftpd)->Arg(kOwnClient)->Arg(kTftpHpaClient)->Apply(Measure);
BENCHMARK(BM_Interleaved)
    ->Arg(kOwnClient)
    ->Arg(kTftpHpaClient)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(8);

}  // namespace
