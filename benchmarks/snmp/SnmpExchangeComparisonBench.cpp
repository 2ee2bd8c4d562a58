// One exchange with a print server through the library's text interface (HelperSNMPTransact: the
// device store entry read, a channel opened, the request sent, the answer awaited, decoded and
// written as text) side by side with net-snmp's synchronous exchange (snmp_synch_response on an open
// session), both against Debian's snmpd on loopback: get and set of one and of eight objects. Then
// the console's keep-alive round: one HelperTrapKeepAlive for every registered print server.
// Runs in the private test network (scripts/bench), where port 161 is free.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "benchmarks/snmp/NetSnmpSession.h"
#include "snmp/exports/Vantorel.h"
#include "snmp/tests/DeviceStoreEntry.h"
#include "snmp/tests/PeerProgram.h"

namespace snmp::bench {
namespace {

constexpr const char* kCommunity = "k!r@o#v$e%t";
constexpr const char* kAgentAdapter = "0040AF7F0001";
constexpr const char* kAgentPeer = "udp:127.0.0.1:161";
constexpr std::int32_t kGet = 0;
constexpr std::int32_t kSet = 2;
constexpr int kMostKeptAlive = 1000;

// Eight readable objects of the agent's system group, and eight writable ones: the agent's debug
// switches (kept off), repeated. They are what a set costs the agent least: unlike its texts, they
// are not saved to disk.
const std::vector<std::string> kGetOids = {
    "1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.2.0", "1.3.6.1.2.1.1.3.0",   "1.3.6.1.2.1.1.4.0",
    "1.3.6.1.2.1.1.5.0", "1.3.6.1.2.1.1.6.0", "1.3.6.1.2.1.11.30.0", "1.3.6.1.2.1.1.8.0",
};
const std::vector<std::string> kSetOids = {
    "1.3.6.1.4.1.8072.1.7.1.1.0", "1.3.6.1.4.1.8072.1.7.1.2.0", "1.3.6.1.4.1.8072.1.7.1.3.0",
    "1.3.6.1.4.1.8072.1.7.1.1.0", "1.3.6.1.4.1.8072.1.7.1.2.0", "1.3.6.1.4.1.8072.1.7.1.3.0",
    "1.3.6.1.4.1.8072.1.7.1.1.0", "1.3.6.1.4.1.8072.1.7.1.2.0",
};
constexpr long kSwitchOff = 2;

std::vector<std::string> FirstOids(const std::vector<std::string>& oids, std::int64_t count) {
    return {oids.begin(), oids.begin() + count};
}

// One exchange of the text interface with the agent, its texts built once: every call copies them
// into the buffers that the answer overwrites, as a caller fills its own buffers before each call.
class TextExchange {
  public:
    TextExchange(std::int32_t operation, const std::vector<std::string>& oids, const std::string& values)
        : operation_(operation), count_(static_cast<std::int32_t>(oids.size())), values_(values) {
        for (const std::string& oid : oids) {
            oidList_ += (oidList_.empty() ? "" : ",") + oid;
        }
        oidList_.resize(oidList_.size() + 512, '\0');
        values_.resize(values.size() + 1024, '\0');
        oidBuffer_ = oidList_;
        valueBuffer_ = values_;
    }

    // The exchange's result code.
    std::int32_t Run() {
        oidBuffer_.assign(oidList_);  // the same size: no allocation
        valueBuffer_.assign(values_);
        std::int32_t valueSize = static_cast<std::int32_t>(valueBuffer_.size());
        return HelperSNMPTransact(kAgentAdapter, operation_, oidBuffer_.data(),
                                  static_cast<std::int32_t>(oidBuffer_.size()), valueBuffer_.data(),
                                  &valueSize, count_);
    }

  private:
    std::int32_t operation_;
    std::int32_t count_;
    std::string oidList_;
    std::string values_;
    std::string oidBuffer_;
    std::string valueBuffer_;
};

// Debian's snmpd as the print server, with its device store entry; started once for the program.
class Agent {
  public:
    static Agent& Get() {
        static Agent agent;
        return agent;
    }
    bool Ready() const { return ready_; }

  private:
    Agent() {
        char pattern[] = "/tmp/vorlane-exchange-bench.XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            return;
        }
        scratch_ = pattern;
        setenv("MIBS", "", 1);
        setenv("SNMP_PERSISTENT_DIR", scratch_.c_str(), 1);
        const std::string snmpd = test::FindProgram("snmpd");
        if (snmpd.empty()) {
            return;
        }
        const std::string config = scratch_ + "/snmpd.conf";
        std::ofstream(config) << "com2sec c default \"" << kCommunity << "\"\n"
                              << "group g v1 c\nview all included .1\n"
                              << "access g \"\" any noauth exact all all none\n";
        program_ = std::make_unique<test::PeerProgram>(
            snmpd, std::vector<std::string>{"-f", "-Lo", "-C", "-c", config, "udp:127.0.0.1:161"}, scratch_);
        test::WriteDeviceEntry({kAgentAdapter, "127.0.0.1", "", 2, 2});
        test::WriteExchangeSettings(2, 1);
        for (int tries = 0; tries < 50 && !ready_; ++tries) {
            ready_ = TextExchange(kGet, FirstOids(kGetOids, 1), "").Run() == 0;
            if (!ready_) {
                usleep(100000);
            }
        }
    }
    ~Agent() {
        program_.reset();
        if (!scratch_.empty()) {
            std::system(("rm -rf '" + scratch_ + "'").c_str());
        }
    }

  private:
    std::string scratch_;
    std::unique_ptr<test::PeerProgram> program_;
    bool ready_ = false;
};

// A set's value text: every binding the integer kSwitchOff.
std::string SetValues(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += (text.empty() ? "1," : ",1,") + std::to_string(kSwitchOff);
    }
    return text;
}

void OursExchange(benchmark::State& state, std::int32_t operation) {
    if (!Agent::Get().Ready()) {
        state.SkipWithError("snmpd did not answer (Debian package snmpd)");
        return;
    }
    const std::vector<std::string> oids = FirstOids(operation == kGet ? kGetOids : kSetOids, state.range(0));
    TextExchange exchange(operation, oids, operation == kGet ? "" : SetValues(oids.size()));
    for (auto _ : state) {
        if (exchange.Run() != 0) {
            state.SkipWithError("the exchange failed");
            return;
        }
    }
}

void NetSnmpExchange(benchmark::State& state, std::int32_t operation) {
    if (!Agent::Get().Ready()) {
        state.SkipWithError("snmpd did not answer (Debian package snmpd)");
        return;
    }
    NetSnmpSession session(kAgentPeer, kCommunity,
                           FirstOids(operation == kGet ? kGetOids : kSetOids, state.range(0)));
    if (!session.Opened()) {
        state.SkipWithError("net-snmp's session did not open");
        return;
    }
    for (auto _ : state) {
        if (!(operation == kGet ? session.Get() : session.Set(kSwitchOff))) {
            state.SkipWithError("the exchange failed");
            return;
        }
    }
}

void OursGet(benchmark::State& state) {
    OursExchange(state, kGet);
}
void NetSnmpGet(benchmark::State& state) {
    NetSnmpExchange(state, kGet);
}
void OursSet(benchmark::State& state) {
    OursExchange(state, kSet);
}
void NetSnmpSet(benchmark::State& state) {
    NetSnmpExchange(state, kSet);
}
// Each side right after the other on the same objects, so that both meet the same load of the
// machine (--benchmark_enable_random_interleaving with repetitions mixes them further).
BENCHMARK(OursGet)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(NetSnmpGet)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(OursGet)->Arg(8)->Unit(benchmark::kMicrosecond);
BENCHMARK(NetSnmpGet)->Arg(8)->Unit(benchmark::kMicrosecond);
BENCHMARK(OursSet)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(NetSnmpSet)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(OursSet)->Arg(8)->Unit(benchmark::kMicrosecond);
BENCHMARK(NetSnmpSet)->Arg(8)->Unit(benchmark::kMicrosecond);

// The registered print servers of the keep-alive round: store entries on addresses where nothing
// listens (the keep-alive awaits no answer).
std::string KeptAliveAdapter(int index) {
    char name[13];
    std::snprintf(name, sizeof name, "0040AF7E%04X", static_cast<unsigned>(index) & 0xFFFFu);
    return name;
}

bool RegisterKeptAlive() {
    for (int i = 0; i < kMostKeptAlive; ++i) {
        const std::string address = "127.1." + std::to_string(i / 250) + "." + std::to_string(1 + i % 250);
        test::WriteDeviceEntry({KeptAliveAdapter(i), address, "", 2, 2});
    }
    return true;
}

// The console thread's busy time in one keep-alive round over range(0) registered print servers.
void KeepAliveRound(benchmark::State& state) {
    static const bool registered = RegisterKeptAlive();
    std::vector<std::string> adapters;
    for (int i = 0; i < state.range(0); ++i) {
        adapters.push_back(KeptAliveAdapter(i));
    }
    for (auto _ : state) {
        for (const std::string& adapter : adapters) {
            if (HelperTrapKeepAlive(adapter.c_str()) != 0 || !registered) {
                state.SkipWithError("a keep-alive was not sent");
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(KeepAliveRound)->RangeMultiplier(10)->Range(1, kMostKeptAlive)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace snmp::bench
