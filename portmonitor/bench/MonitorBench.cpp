// A job through the port monitor's entry points to a simulated card, against a plain TCP copy of the
// same bytes to a plain listener, in one run; SPX and DLC figures besides. Run inside the test
// network (scripts/bench).
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
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

// The plain copy's pace, for the monitor's share of it.
double plainBytesPerSecond = 0;

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

void MonitorJob(benchmark::State& state, const char* port, size_t size) {
    Bed& bed = TheBed();
    const std::vector<uint8_t> bytes(size, 0x5A);
    size_t jobs = bed.Listener().Jobs(0).size();
    const auto started = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (!RunJob(port, bytes) || !bed.Listener().WaitForJobs(0, ++jobs, std::chrono::seconds(30)) ||
            bed.Listener().Jobs(0).back().byteCount != size) {
            state.SkipWithError("the job did not arrive whole");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    const double bytesPerSecond = static_cast<double>(state.iterations() * size) / Seconds(started);
    if (std::strcmp(port, "BT") == 0 && plainBytesPerSecond > 0) {
        state.counters["of_plain_copy"] = bytesPerSecond / plainBytesPerSecond;
    }
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

void PlainCopy(benchmark::State& state) {
    static PlainListener listener;
    const std::vector<uint8_t> bytes(kHundredMiB, 0x5A);
    const auto started = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(kPlainPort);
        inet_pton(AF_INET, kPlainAddress, &address.sin_addr);
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            state.SkipWithError("no plain listener");
            close(fd);
            return;
        }
        for (size_t offset = 0; offset < bytes.size();) {
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
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kHundredMiB));
    plainBytesPerSecond = static_cast<double>(state.iterations() * kHundredMiB) / Seconds(started);
}

}  // namespace

BENCHMARK(PlainCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK_CAPTURE(MonitorJob, tcp, "BT", kHundredMiB)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2);
BENCHMARK_CAPTURE(MonitorJob, spx, "BS", kTenMiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(MonitorJob, dlc, "BD", kTenMiB)->Unit(benchmark::kMillisecond)->UseRealTime();
