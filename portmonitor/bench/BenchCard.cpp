#include "portmonitor/bench/BenchCard.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "platform/lan/LanSettings.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace portmon::bench {

namespace {

void StoreCard() {
    char network[9];
    std::snprintf(network, sizeof network, "%08X", plat::LocalIpxNetwork());
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + kCardMac;
    std::optional<plat::StoreKeyHandle> entry =
        plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, path.c_str());
    entry->WriteText("Print Server Name", "Bench");
    entry->WriteText("MAC Address", kCardMac);
    entry->WriteText("IP Address", kCardIp);
    entry->WriteText("IPX Address", std::string(network) + kCardMac);
    entry->WriteText("Print Server Description", "");
    entry->WriteText("DNS Name", "");
    entry->WriteNumber("pProtocol", 2);
    entry->WriteNumber("cProtocols", 7);
    entry->WriteNumber("Category", 2);
}

}  // namespace

sim::JobListener& BenchCard() {
    static sim::JobListener& listener = []() -> sim::JobListener& {
        static sim::JobListener card(sim::JobListenerOptions{.keeping = {.firstBytes = 0, .folder = ""}});
        sim::CardDescription description;
        description.name = "Bench";
        description.mac = {0x00, 0xC0, 0xDE, 0x00, 0x08, 0x01};
        description.ip = {127, 0, 8, 1};
        card.AddCard(description);
        std::string error;
        if (!card.Start(error)) {
            std::fprintf(stderr, "job listener: %s\n", error.c_str());
        }
        StoreCard();
        return card;
    }();
    return listener;
}

bool LastJobsWhole(std::size_t count, std::size_t size) {
    const std::vector<sim::JobRecord> jobs = BenchCard().Jobs(0);
    return jobs.size() >= count && std::all_of(jobs.end() - static_cast<std::ptrdiff_t>(count), jobs.end(),
                                               [size](const sim::JobRecord& job) {
                                                   return job.ended && job.framingErrors == 0 &&
                                                          job.byteCount == size;
                                               });
}

PlainListener::PlainListener() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in address = PlainEndpoint();
    bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
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

PlainListener::~PlainListener() {
    shutdown(fd_, SHUT_RDWR);
    close(fd_);
    thread_.join();
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::vector<double> Pairs::Ratios() const {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < plain.size() && i < other.size(); ++i) {
        ratios.push_back(other[i].seconds / plain[i].seconds);
    }
    std::sort(ratios.begin(), ratios.end());
    return ratios;
}

}  // namespace portmon::bench
