// Jobs through the backend `vorlane` started as cupsd starts it, one process for each job (the
// arguments, the device URI, the store and a private cupsd that holds the job), against a plain copy
// of the same file by a process of its own to a plain listener: rounds of the two in turn. The
// counters give the backend's time over the plain copy's per round (its median and highest) for a
// 1-byte job, and the backend's pace as a share of the plain copy's for 100 MiB.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "firmware/tests/support/ChildProcess.h"
#include "platform/spooler/DeviceUri.h"
#include "platform/spooler/Spooler.h"
#include "portmonitor/PortStore.h"
#include "portmonitor/bench/BenchCard.h"
#include "portmonitor/spooler/PrivateSpooler.h"

namespace portmon::bench {
namespace {

constexpr const char* kPort = "BP";

// A private cupsd with a queue on the port and one held job whose id each backend is given.
class Spooler {
  public:
    Spooler() {
        BenchCard();
        const ServerRecord record = *ReadServerRecord(kCardMac);
        SavePortEntry(record, kPort, false);
        WritePortTransport(kPort, 2);
        std::string error;
        if (!spooler_.Start(VORLANE_BACKEND, error) || !plat::AddPrinter(kPort, plat::PortDeviceUri(kPort))) {
            std::fprintf(stderr, "spooler: %s\n", error.c_str());
            return;
        }
        const std::string file = spooler_.Folder() + "/jobs/held";
        std::ofstream(file) << "held";
        FILE* lp = popen(("lp -H hold -d " + std::string(kPort) + " " + file + " 2>&1").c_str(), "r");
        char line[256] = {};
        if (lp != nullptr && std::fgets(line, sizeof line, lp) != nullptr) {
            const std::string text = line;
            const std::size_t dash = text.find(std::string(kPort) + "-");
            job_ = dash == std::string::npos
                       ? "1"
                       : std::to_string(std::atoi(text.c_str() + dash + std::strlen(kPort) + 1));
        }
        if (lp != nullptr) {
            pclose(lp);
        }
    }

    const std::string& Job() const { return job_; }
    std::string Folder() const { return spooler_.Folder(); }

  private:
    PrivateSpooler spooler_;
    std::string job_ = "1";
};

Spooler& TheSpooler() {
    static Spooler spooler;
    return spooler;
}

// Starts the program with the arguments and the extra environment; true when it ended with 0. Its
// messages go into a pipe, as cupsd reads a backend's.
bool RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                const std::vector<std::string>& environment) {
    fendreltest::ChildProcess child;
    return child.Start(program, arguments, environment) && child.WaitForExit(60000) == 0;
}

std::string JobFile(std::size_t size) {
    const std::string path = TheSpooler().Folder() + "/jobs/bytes-" + std::to_string(size);
    std::ofstream file(path, std::ios::binary);
    const std::vector<char> bytes(size, 0x5A);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

bool BackendRound(const std::string& file, std::size_t jobs) {
    const bool done =
        RunProgram(VORLANE_BACKEND, {TheSpooler().Job(), "bench", "Bench job", "1", "", file},
                   {"DEVICE_URI=" + plat::PortDeviceUri(kPort), std::string("PRINTER=") + kPort});
    return done && BenchCard().WaitForJobs(0, jobs, std::chrono::seconds(30));
}

bool PlainRound(const std::string& file) {
    static PlainListener listener;
    return RunProgram(PLAIN_COPY, {file}, {});
}

void BackendAgainstPlainCopy(benchmark::State& state) {
    const std::size_t size = static_cast<std::size_t>(state.range(0));
    const std::string file = JobFile(size);
    const std::size_t logged = BenchCard().Jobs(0).size();
    Pairs pairs;
    for (auto _ : state) {
        const std::size_t job = logged + pairs.plain.size() + 1;
        if (!pairs.Round([&] { return PlainRound(file); }, [&] { return BackendRound(file, job); })) {
            state.SkipWithError("a round failed");
            return;
        }
    }
    if (!LastJobsWhole(pairs.other.size(), size)) {
        state.SkipWithError("a job did not arrive whole");
        return;
    }
    const std::vector<double> ratios = pairs.Ratios();
    double plain = 0;
    double backend = 0;
    for (std::size_t i = 0; i < ratios.size(); ++i) {
        plain += pairs.plain[i].seconds;
        backend += pairs.other[i].seconds;
    }
    const double rounds = static_cast<double>(ratios.size());
    state.counters["plain_ms"] = 1000 * plain / rounds;
    state.counters["backend_ms"] = 1000 * backend / rounds;
    state.counters["ratio_median"] = ratios[ratios.size() / 2];
    state.counters["ratio_max"] = ratios.back();
    state.counters["share_median"] = 1 / ratios[ratios.size() / 2];
    state.counters["share_min"] = 1 / ratios.back();
}

BENCHMARK(BackendAgainstPlainCopy)
    ->Arg(1)
    ->Arg(100 << 20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3);

}  // namespace
}  // namespace portmon::bench
