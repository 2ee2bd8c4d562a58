// A job through the port monitor's entry points to a simulated card, against a plain TCP copy of the
// same bytes to a plain listener: rounds of the two in turn, so that both see the same load on a
// shared machine; SPX and DLC figures besides. Run inside the test network (scripts/bench).
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "portmonitor/MonitorEntries.h"
#include "portmonitor/PortList.h"
#include "portmonitor/PortStore.h"
#include "portmonitor/bench/BenchCard.h"
#include "transport/DlcCommandLayer.h"

namespace portmon::bench {
namespace {

constexpr size_t kHundredMiB = 100 << 20;
constexpr size_t kTenMiB = 10 << 20;
constexpr size_t kWrite = 262144;  // what the backend hands WritePort at a time

// The card's ports in this process, one for each transport.
void AddPorts() {
    static const bool added = [] {
        BenchCard();
        DlcInitialize();
        for (auto [port, transport] : {std::pair("BT", 2), std::pair("BS", 1), std::pair("BD", 4)}) {
            const ServerRecord record = *ReadServerRecord(kCardMac);
            SavePortEntry(record, port, false);
            WritePortTransport(port, static_cast<uint8_t>(transport));
            PushPort(std::make_unique<CNPC>(record, port, ReadMonitorSettings()));
        }
        return true;
    }();
    (void)added;
}

// One job as the backend runs it; false when it did not end well.
bool RunJob(const char* portName, const std::vector<uint8_t>& bytes) {
    plat::PortHandle port = nullptr;
    if (!OpenPort(portName, &port)) {
        return false;
    }
    bool done = StartDocPort(port, "", 1, 1, nullptr) != 0;
    for (size_t offset = 0; done && offset < bytes.size();) {
        const size_t piece = std::min(kWrite, bytes.size() - offset);
        size_t taken = 0;
        while (done && taken < piece) {
            uint32_t written = 0;
            done = WritePort(port, bytes.data() + offset + taken, static_cast<uint32_t>(piece - taken),
                             &written);
            taken += written;
        }
        offset += piece;
    }
    done = EndDocPort(port) && done;
    ClosePort(port);
    return done;
}

// A job through the monitor until the card logged it as its `jobs`th; false when it did not end well.
bool MonitorRound(const char* port, const std::vector<uint8_t>& bytes, size_t jobs) {
    AddPorts();
    return RunJob(port, bytes) && BenchCard().WaitForJobs(0, jobs, std::chrono::seconds(30));
}

// The same bytes over a plain TCP connection, written as the backend hands them over; false when they
// did not all go.
bool PlainRound(const std::vector<uint8_t>& bytes) {
    static PlainListener listener;
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = PlainEndpoint();
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return false;
    }
    size_t offset = 0;
    while (offset < bytes.size()) {
        const ssize_t sent = send(fd, bytes.data() + offset, std::min(kWrite, bytes.size() - offset), 0);
        if (sent <= 0) {
            break;
        }
        offset += static_cast<size_t>(sent);
    }
    // Over when the listener has read everything: it closes after the end of the stream.
    shutdown(fd, SHUT_WR);
    char byte;
    recv(fd, &byte, 1, 0);
    close(fd);
    return offset == bytes.size();
}

// Each round times a plain copy and a monitor job of 100 MiB over TCP, the plain copy first in every
// other round; the counters give the monitor's pace as a share of the plain copy's, its lowest and
// its median over the rounds, and each sender's CPU time per 100 MiB.
void TcpAgainstPlainCopy(benchmark::State& state) {
    AddPorts();
    const size_t logged = BenchCard().Jobs(0).size();
    const std::vector<uint8_t> bytes(kHundredMiB, 0x5A);
    Pairs pairs;
    for (auto _ : state) {
        const size_t job = logged + pairs.plain.size() + 1;
        if (!pairs.Round([&] { return PlainRound(bytes); }, [&] { return MonitorRound("BT", bytes, job); })) {
            state.SkipWithError("a round failed");
            return;
        }
    }
    if (!LastJobsWhole(pairs.other.size(), kHundredMiB)) {
        state.SkipWithError("a job did not arrive whole");
        return;
    }
    RoundTime plain;
    RoundTime monitor;
    for (size_t i = 0; i < pairs.plain.size(); ++i) {
        plain.seconds += pairs.plain[i].seconds;
        plain.cpuSeconds += pairs.plain[i].cpuSeconds;
        monitor.seconds += pairs.other[i].seconds;
        monitor.cpuSeconds += pairs.other[i].cpuSeconds;
    }
    const std::vector<double> ratios = pairs.Ratios();
    const double rounds = static_cast<double>(ratios.size());
    const double mebibytes = rounds * static_cast<double>(kHundredMiB >> 20);
    state.counters["plain_MiBps"] = mebibytes / plain.seconds;
    state.counters["monitor_MiBps"] = mebibytes / monitor.seconds;
    state.counters["plain_cpu_ms"] = 1000 * plain.cpuSeconds / rounds;
    state.counters["monitor_cpu_ms"] = 1000 * monitor.cpuSeconds / rounds;
    state.counters["share_min"] = 1 / ratios.back();
    state.counters["share_median"] = 1 / ratios[ratios.size() / 2];
}

void MonitorJob(benchmark::State& state, const char* port) {
    AddPorts();
    const size_t logged = BenchCard().Jobs(0).size();
    const std::vector<uint8_t> bytes(kTenMiB, 0x5A);
    size_t jobs = 0;
    for (auto _ : state) {
        if (!MonitorRound(port, bytes, logged + ++jobs)) {
            state.SkipWithError("the job did not arrive");
            return;
        }
    }
    if (!LastJobsWhole(jobs, kTenMiB)) {
        state.SkipWithError("a job did not arrive whole");
        return;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTenMiB));
}

BENCHMARK(TcpAgainstPlainCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK_CAPTURE(MonitorJob, spx, "BS")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(MonitorJob, dlc, "BD")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace portmon::bench
