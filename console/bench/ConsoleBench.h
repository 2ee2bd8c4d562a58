#pragma once

// What the console's benchmarks share: the size of the site they are set for, a simulated site with a
// console that has detected it, and the watch on the console's event loop.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "console/core/NewLook.h"
#include "console/core/QueuePump.h"
#include "tests/SimulatorProcess.h"

namespace consolebench {

// The campus the goals are set for, and the site a tenth of its size whose figure stands beside it.
constexpr int kServers = 10000;
constexpr int kSmallSite = kServers / 10;

// The printer statuses the site's cards start with, a quarter of the cards each; the name prefix
// of each quarter's cards.
struct StatusGroup {
    const char* prefix;
    int status;
};
inline constexpr StatusGroup kStatusGroups[] = {{"Ready", 0}, {"Printing", 3}, {"Open", 68}, {"Tray", 1025}};

// The hardware address of the site's card with this index (0-based), as the console keeps it.
QString CardMac(int index);

// `count` simulated print servers speaking IP, and a console that has run its first detection of
// them. One site at a time: a console is alone on its machine, and one simulator serves port 161.
class Site {
  public:
    // The site of as many print servers as the benchmark's argument, made anew unless the last one
    // had that size; null, the benchmark skipped with the reason, when it cannot be made.
    static Site* Of(benchmark::State& bench);
    static void Close();

    console::NewLook& Window() { return *window_; }
    consoletest::SimulatorProcess& Cards() { return cards_; }
    int Count() const { return count_; }

  private:
    explicit Site(int count) : count_(count) {}
    bool Open(std::string& error);

    int count_;
    consoletest::SimulatorProcess cards_;
    console::QueuePump pump_;
    std::unique_ptr<console::NewLook> window_;
};

// The longest time the event loop did not run while it watched: a tick every 10 ms that finds the
// loop running; the longest gap between ticks is the longest time the window went unpainted.
class PaintWatch {
  public:
    PaintWatch();
    void Start();
    // From now on the gaps are also counted apart (the console's own steps after the library's).
    void Mark();
    void Stop();
    qint64 LongestGapMs() const { return longestGap_; }
    qint64 LongestGapSinceMarkMs() const { return longestSinceMark_; }
    // The longest gap that began before the mark (within the library's detection).
    qint64 LongestGapBeforeMarkMs() const { return longestBeforeMark_; }

  private:
    void Tick();

    QTimer ticker_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 mark_ = -1;
    qint64 longestGap_ = 0;
    qint64 longestSinceMark_ = 0;
    qint64 longestBeforeMark_ = 0;
};

// Runs the event loop until the condition holds; false after `ms`.
bool RunLoopUntil(const std::function<bool()>& condition, int ms);

// Each registers its benchmarks for a site of `count` print servers.
void RegisterDeviceBenchmarks(int count);
void RegisterListBenchmarks(int count);
void RegisterTrapStorm(int count);

// The process's resident memory, and its peak, in MiB.
double ResidentMiB();
double PeakResidentMiB();

}  // namespace consolebench
