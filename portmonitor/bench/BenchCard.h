#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <thread>
#include <vector>

#include "simulator/JobListener.h"

// What the port monitor's benchmarks share: one simulated card that keeps no bytes with its device
// store entry, a plain listener to compare against, and rounds timed in turn. Run inside the test
// network (scripts/bench).
namespace portmon::bench {

inline constexpr const char* kCardMac = "00C0DE000801";
inline constexpr const char* kCardIp = "127.0.8.1";
inline constexpr std::uint16_t kPlainPort = 2100;
inline constexpr const char* kPlainAddress = "127.0.8.99";

// The card, listening from the first call on, with its device store entry.
sim::JobListener& BenchCard();
// True when the card's last `count` jobs each carried all of `size` data bytes, whole.
bool LastJobsWhole(std::size_t count, std::size_t size);

// kPlainAddress:kPlainPort, where the plain listener listens and the plain copies connect.
inline sockaddr_in PlainEndpoint() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(kPlainPort);
    inet_pton(AF_INET, kPlainAddress, &address.sin_addr);
    return address;
}

// A plain listener on kPlainAddress:kPlainPort that reads and drops everything, one connection at a
// time, and closes each connection after the end of its stream.
class PlainListener {
  public:
    PlainListener();
    ~PlainListener();
    PlainListener(const PlainListener&) = delete;
    PlainListener& operator=(const PlainListener&) = delete;

  private:
    int fd_;
    std::thread thread_;
};

// A round's wall time (negative when it failed) and the CPU time of the thread that ran it.
struct RoundTime {
    double seconds = 0;
    double cpuSeconds = 0;
};

double ThreadCpuSeconds();

template <class Round>
RoundTime Timed(Round round) {
    const auto started = std::chrono::steady_clock::now();
    const double cpu = ThreadCpuSeconds();
    const bool done = round();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return {done ? seconds : -1, ThreadCpuSeconds() - cpu};
}

// The times of rounds of two contenders run in turn, each first in every other round, so that both
// see the same load on a shared machine.
struct Pairs {
    std::vector<RoundTime> plain;
    std::vector<RoundTime> other;

    // Runs one round of each; false when either failed.
    template <class Plain, class Other>
    bool Round(Plain plainRound, Other otherRound) {
        const bool plainFirst = plain.size() % 2 == 0;
        const RoundTime first = plainFirst ? Timed(plainRound) : Timed(otherRound);
        const RoundTime second = plainFirst ? Timed(otherRound) : Timed(plainRound);
        plain.push_back(plainFirst ? first : second);
        other.push_back(plainFirst ? second : first);
        return first.seconds >= 0 && second.seconds >= 0;
    }
    // other / plain time of each round, sorted.
    std::vector<double> Ratios() const;
};

}  // namespace portmon::bench
