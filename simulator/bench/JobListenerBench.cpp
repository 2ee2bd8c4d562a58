// The card's job listener under a long run of quick connections and under jobs of 100 MiB: the time
// each takes, and how much the process's resident memory grew (the listener keeps neither a thread
// per ended connection nor the bytes of a job). Run inside the test network (scripts/bench).
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "simulator/JobListener.h"

namespace sim {
namespace {

constexpr size_t kJobBytes = 100 << 20;

// The process's resident memory in MiB.
double ResidentMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024;
        }
    }
    return 0;
}

JobListener& Listener() {
    static JobListener& listener = []() -> JobListener& {
        static JobListener card;
        CardDescription description;
        description.name = "Bench";
        description.mac = {0x00, 0xC0, 0xDE, 0x00, 0x09, 0x01};
        description.ip = {127, 0, 9, 1};
        description.protocols = Bit(Protocol::Ip);
        card.AddCard(description);
        std::string error;
        card.Start(error);
        return card;
    }();
    return listener;
}

// A connection to the card that has read its ready byte; -1 when there is none.
int Connect() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(JobTcpPort);
    inet_pton(AF_INET, "127.0.9.1", &to.sin_addr);
    uint8_t ready = 0;
    if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 || recv(fd, &ready, 1, 0) != 1 ||
        ready != JobReadyByte) {
        close(fd);
        return -1;
    }
    return fd;
}

bool SendAll(int fd, const std::vector<uint8_t>& bytes) {
    return send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

// 100,000 connections a round, each closed once the ready byte came.
void QuickConnections(benchmark::State& state) {
    Listener();
    const double before = ResidentMiB();
    for (auto _ : state) {
        for (int i = 0; i < 100000; ++i) {
            const int fd = Connect();
            if (fd < 0) {
                state.SkipWithError("a connection was not answered");
                return;
            }
            close(fd);
        }
    }
    state.counters["rss_growth_MiB"] = ResidentMiB() - before;
    state.SetItemsProcessed(state.iterations() * 100000);
}

// Three jobs of 100 MiB a round.
void LargeJobs(benchmark::State& state) {
    Listener();
    std::vector<uint8_t> run;
    for (int packet = 0; packet < 176; ++packet) {
        run.insert(run.end(), {JobDataPacket, 1490 >> 8, 1490 & 0xFF});
        run.resize(run.size() + 1490, static_cast<uint8_t>(packet));
    }
    const double before = ResidentMiB();
    size_t jobs = Listener().Jobs(0).size();
    for (auto _ : state) {
        for (int job = 0; job < 3; ++job) {
            const int fd = Connect();
            bool sent = fd >= 0;
            for (size_t bytes = 0; sent && bytes < kJobBytes; bytes += 176 * 1490) {
                sent = SendAll(fd, run);
            }
            uint8_t answer = 0;
            sent = sent && SendAll(fd, {JobEndPacket, 0, 0}) && recv(fd, &answer, 1, 0) == 1;
            close(fd);
            if (!sent || !Listener().WaitForJobs(0, ++jobs, std::chrono::seconds(30))) {
                state.SkipWithError("a job did not go through");
                return;
            }
        }
    }
    state.counters["rss_growth_MiB"] = ResidentMiB() - before;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * 3 * kJobBytes));
}

BENCHMARK(QuickConnections)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(LargeJobs)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace
}  // namespace sim
