// A job through the port monitor's entry points to a simulated card, against a plain TCP copy of the
// same bytes to a plain listener: rounds of the two in turn, so that both see the same load on a
// shared machine; SPX and DLC figures besides. Run inside the test network (scripts/bench).
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

#include "platform/lan/LanSettings.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "portmonitor/MonitorEntries.h"
#include "portmonitor/PortList.h"
#include "portmonitor/PortStore.h"
#include "simulator/JobListener.h"
#include "transport/DlcCommandLayer.h"

namespace {

constexpr size_t kHundredMiB = 100 << 20;
constexpr size_t kTenMiB = 10 << 20;
constexpr size_t kWrite = 262144;  // what the backend hands WritePort at a time
constexpr uint16_t kPlainPort = 2100;
const char* const kPlainAddress = "127.0.8.99";

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// One card that keeps no bytes, and a port on it for each transport.
class Bed {
  public:
    Bed() : listener_(false) {
        sim::CardDescription card;
        card.name = "Bench";
        card.mac = {0x00, 0xC0, 0xDE, 0x00, 0x08, 0x01};
        card.ip = {127, 0, 8, 1};
        listener_.AddCard(card);
        std::string error;
        if (!listener_.Start(error)) {
            std::fprintf(stderr, "job listener: %s\n", error.c_str());
        }
        DlcInitialize();
        StoreCard();
        for (auto [port, transport] : {std::pair("BT", 2), std::pair("BS", 1), std::pair("BD", 4)}) {
            const ServerRecord record = *ReadServerRecord("00C0DE000801");
            SavePortEntry(record, port, false);
            WritePortTransport(port, static_cast<uint8_t>(transport));
            PushPort(std::make_unique<CNPC>(record, port, ReadMonitorSettings()));
        }
    }

    sim::JobListener& Listener() { return listener_; }

  private:
    static void StoreCard() {
        char network[9];
        std::snprintf(network, sizeof network, "%08X", plat::LocalIpxNetwork());
        const std::string path = std::string(plat::kAdapterOnlyKey) + "\\00C0DE000801";
        std::optional<plat::StoreKeyHandle> entry =
            plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, path.c_str());
        entry->WriteText("Print Server Name", "Bench");
        entry->WriteText("MAC Address", "00C0DE000801");
        entry->WriteText("IP Address", "127.0.8.1");
        entry->WriteText("IPX Address", std::string(network) + "00C0DE000801");
        entry->WriteText("Print Server Description", "");
        entry->WriteText("DNS Name", "");
        entry->WriteNumber("pProtocol", 2);
        entry->WriteNumber("cProtocols", 7);
        entry->WriteNumber("Category", 2);
    }

    sim::JobListener listener_;
};

Bed& TheBed() {
    static Bed bed;
    return bed;
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
    return RunJob(port, bytes) && TheBed().Listener().WaitForJobs(0, jobs, std::chrono::seconds(30));
}

// True when the card's last `count` jobs each carried all of `size` data bytes, whole.
bool LastJobsWhole(size_t count, size_t size) {
    const std::vector<sim::JobRecord> jobs = TheBed().Listener().Jobs(0);
    return jobs.size() >= count && std::all_of(jobs.end() - static_cast<std::ptrdiff_t>(count), jobs.end(),
                                               [size](const sim::JobRecord& job) {
                                                   return job.ended && job.framingErrors == 0 &&
                                                          job.byteCount == size;
                                               });
}

// A plain listener that reads and drops everything, one connection at a time.
class PlainListener {
  public:
    PlainListener() {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        const int on = 1;
        setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(kPlainPort);
        inet_pton(AF_INET, kPlainAddress, &address.sin_addr);
        bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(fd_, 4);
        thread_ = std::thread([this] {
            std::vector<char> buffer(1 << 16);
            while (true) {
                const int connection = accept(fd_, nullptr, nullptr);
                if (connection < 0) {
                    return;
                }
                while (recv(connection, buffer.data(), buffer.size(), 0) > 0) {
                }
                close(connection);
            }
        });
    }
    ~PlainListener() {
        shutdown(fd_, SHUT_RDWR);
        close(fd_);
        thread_.join();
    }

  private:
    int fd_;
    std::thread thread_;
};

// The same bytes over a plain TCP connection, written as the backend hands them over; false when they
// did not all go.
bool PlainRound(const std::vector<uint8_t>& bytes) {
    static PlainListener listener;
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(kPlainPort);
    inet_pton(AF_INET, kPlainAddress, &address.sin_addr);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
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

// A round's wall time (negative when it failed) and the CPU time of the thread that ran it: the
// sender's own work, which tells the two apart also when the machine's load hides it in the wall time.
struct RoundTime {
    double seconds = 0;
    double cpuSeconds = 0;

    RoundTime& operator+=(const RoundTime& other) {
        seconds += other.seconds;
        cpuSeconds += other.cpuSeconds;
        return *this;
    }
};

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <class Round>
RoundTime Timed(Round round) {
    const auto started = std::chrono::steady_clock::now();
    const double cpu = ThreadCpuSeconds();
    const bool done = round();
    return {done ? Seconds(started) : -1, ThreadCpuSeconds() - cpu};
}

// Each round times a plain copy and a monitor job of 100 MiB over TCP, the plain copy first in every
// other round; the counters give the monitor's pace as a share of the plain copy's, its lowest and
// its median over the rounds, and each sender's CPU time per 100 MiB.
void TcpAgainstPlainCopy(benchmark::State& state) {
    const size_t logged = TheBed().Listener().Jobs(0).size();
    const std::vector<uint8_t> bytes(kHundredMiB, 0x5A);
    std::vector<double> shares;
    RoundTime plainTotal;
    RoundTime monitorTotal;
    for (auto _ : state) {
        const auto plain = [&] { return Timed([&] { return PlainRound(bytes); }); };
        const auto monitor = [&] {
            return Timed([&] { return MonitorRound("BT", bytes, logged + shares.size() + 1); });
        };
        const bool plainFirst = shares.size() % 2 == 0;
        const RoundTime first = plainFirst ? plain() : monitor();
        const RoundTime second = plainFirst ? monitor() : plain();
        const RoundTime& plainRound = plainFirst ? first : second;
        const RoundTime& monitorRound = plainFirst ? second : first;
        if (plainRound.seconds < 0 || monitorRound.seconds < 0) {
            state.SkipWithError(plainRound.seconds < 0 ? "the plain copy failed" : "the job did not arrive");
            return;
        }
        plainTotal += plainRound;
        monitorTotal += monitorRound;
        shares.push_back(plainRound.seconds / monitorRound.seconds);
    }
    if (!LastJobsWhole(shares.size(), kHundredMiB)) {
        state.SkipWithError("a job did not arrive whole");
        return;
    }
    std::sort(shares.begin(), shares.end());
    const double rounds = static_cast<double>(shares.size());
    const double mebibytes = rounds * static_cast<double>(kHundredMiB >> 20);
    state.counters["plain_MiBps"] = mebibytes / plainTotal.seconds;
    state.counters["monitor_MiBps"] = mebibytes / monitorTotal.seconds;
    state.counters["plain_cpu_ms"] = 1000 * plainTotal.cpuSeconds / rounds;
    state.counters["monitor_cpu_ms"] = 1000 * monitorTotal.cpuSeconds / rounds;
    state.counters["share_min"] = shares.front();
    state.counters["share_median"] = shares[shares.size() / 2];
}

void MonitorJob(benchmark::State& state, const char* port) {
    const size_t logged = TheBed().Listener().Jobs(0).size();
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

}  // namespace

BENCHMARK(TcpAgainstPlainCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK_CAPTURE(MonitorJob, spx, "BS")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(MonitorJob, dlc, "BD")->Unit(benchmark::kMillisecond)->UseRealTime();
