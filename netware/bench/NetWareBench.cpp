// Time of the NetWare helper library's lists over the simulated LAN: a browse of a context and a
// bindery queue list, by the number of names. Every name costs its share of a client call (a listing
// pass carries 4 names, a queue scan one), so these show what one call costs. Run by scripts/bench
// in the private test network.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "netware/Tessik.h"
#include "simulator/netware/NetWareNetwork.h"

namespace {

constexpr int kLargest = 256;

// One network for the whole program: the client lives as long as the process.
sim::NetWareNetwork& Network() {
    static sim::NetWareNetwork network;
    static const bool seeded = [] {
        std::string error;
        if (!network.Start(error)) {
            return false;
        }
        for (const char* line :
             {"server FS1 ACME", "user FS1 ADMIN pw", "tree ACME", "object ACME container ORG"}) {
            network.Control(line);
        }
        for (int i = 0; i < kLargest; ++i) {
            const std::string name = "Q" + std::to_string(i);
            network.Control("queue FS1 " + name);
            network.Control("object ACME container C" + std::to_string(i) + ".ORG");
            network.Control("object ACME queue " + name + ".C" + std::to_string(i) + ".ORG");
        }
        return true;
    }();
    return network;
}

// A container with `count` queues.
std::string ContainerOf(int count) {
    const std::string name = "N" + std::to_string(count) + ".ORG";
    if (Network().Control("object ACME container " + name) == "ok") {
        for (int i = 0; i < count; ++i) {
            Network().Control("object ACME queue Q" + std::to_string(i) + "." + name);
        }
    }
    return name;
}

void BM_Browse(benchmark::State& state) {
    const std::string context = ContainerOf(static_cast<int>(state.range(0)));
    std::vector<char> buffer(1 << 16);
    for (auto _ : state) {
        char tree[] = "ACME";
        std::uint32_t length = static_cast<std::uint32_t>(buffer.size() - 1);
        std::int32_t count = 0;
        if (NwNdsBrowse(tree, context.c_str(), "QUEUE", buffer.data(), &length, &count) != kNwOk ||
            count != state.range(0)) {
            state.SkipWithError("browse failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Browse)->Arg(8)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond);

void BM_BinderyQueueList(benchmark::State& state) {
    Network();
    char server[] = "FS1", user[] = "ADMIN", password[] = "pw";
    if (NwBiLogin(server, user, password) != kNwOk) {
        state.SkipWithError("login failed");
        return;
    }
    std::vector<char> buffer(1 << 16);
    for (auto _ : state) {
        std::uint32_t length = static_cast<std::uint32_t>(buffer.size() - 1);
        std::int32_t count = 0;
        if (NwBiGetQueueList("FS1", buffer.data(), &length, &count) != kNwOk || count != kLargest) {
            state.SkipWithError("queue list failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kLargest);
}
BENCHMARK(BM_BinderyQueueList)->Unit(benchmark::kMillisecond);

}  // namespace
