// The printer list at the site's size, as a person works it: a click on a column header sorts by
// that column, the Advanced Filter's OK applies a name pattern or a status, a click on the group
// tree switches group, the View menu switches view. Each is timed until the window is painted.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTreeView>
#include <QTreeWidget>

#include "console/bench/ConsoleBench.h"
#include "console/core/ConsoleState.h"
#include "console/core/PrinterList.h"

namespace consolebench {

namespace {

constexpr int kVisibleSections = 6;  // name to hardware address

// The window's work is done and it is painted.
void Settle(console::NewLook& window) {
    QApplication::processEvents();
    window.repaint();
}

// Runs one operation of the benchmark and keeps the slowest time it took.
class Slowest {
  public:
    template <typename Operation>
    void Time(Operation operation) {
        QElapsedTimer clock;
        clock.start();
        operation();
        ms_ = std::max(ms_, static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    void Report(benchmark::State& bench) const { bench.counters["slowest_ms"] = ms_; }

  private:
    double ms_ = 0;
};

void BM_SortByColumnClick(benchmark::State& bench) {
    Site* site = Site::Of(bench);
    if (site == nullptr) {
        return;
    }
    QHeaderView* header = site->Window().List()->DetailView()->header();
    int section = 0;
    Slowest slowest;
    for (auto _ : bench) {
        slowest.Time([&] {
            emit header->sectionClicked(section);
            Settle(site->Window());
        });
        section = (section + 1) % kVisibleSections;
    }
    slowest.Report(bench);
    bench.counters["rows"] = site->Window().List()->Model()->rowCount();
}

// The filter that the Advanced Filter dialog leaves, applied as its OK applies it; Show All after
// each (not timed).
void Filter(benchmark::State& bench, int kind, const QString& text) {
    Site* site = Site::Of(bench);
    if (site == nullptr) {
        return;
    }
    int shown = 0;
    Slowest slowest;
    for (auto _ : bench) {
        slowest.Time([&] {
            console::State().options.filterKind = kind;
            console::State().options.filterText = text;
            site->Window().outTreeList_Click();
            Settle(site->Window());
        });
        shown = site->Window().List()->Model()->rowCount();
        bench.PauseTiming();
        site->Window().Action("mnuFilter1")->trigger();
        Settle(site->Window());
        bench.ResumeTiming();
    }
    slowest.Report(bench);
    bench.counters["rows_shown"] = shown;
}

void BM_FilterByNamePattern(benchmark::State& bench) {
    Filter(bench, 1, "Printing-1*");
}

void BM_FilterByStatus(benchmark::State& bench) {
    Filter(bench, 5, "68");
}

void BM_SwitchGroup(benchmark::State& bench) {
    Site* site = Site::Of(bench);
    if (site == nullptr) {
        return;
    }
    auto* tree = site->Window().findChild<QTreeWidget*>("outTreeList");
    int group = 0;
    Slowest slowest;
    for (auto _ : bench) {
        group = (group + 1) % tree->topLevelItemCount();
        QTreeWidgetItem* item = tree->topLevelItem(group);
        slowest.Time([&] {
            tree->setCurrentItem(item);
            emit tree->itemClicked(item, 0);
            Settle(site->Window());
        });
    }
    slowest.Report(bench);
}

void BM_SwitchView(benchmark::State& bench) {
    Site* site = Site::Of(bench);
    if (site == nullptr) {
        return;
    }
    const char* views[] = {"mnuLargeIcons", "mnuSmallIcons", "mnuList"};
    int view = 0;
    Slowest slowest;
    for (auto _ : bench) {
        slowest.Time([&] {
            site->Window().Action(views[view])->trigger();
            Settle(site->Window());
        });
        view = (view + 1) % 3;
    }
    slowest.Report(bench);
    site->Window().Action("mnuList")->trigger();
}

}  // namespace

void RegisterListBenchmarks(int count) {
    using Benchmark = void (*)(benchmark::State&);
    const std::pair<const char*, Benchmark> benchmarks[] = {
        {"BM_SortByColumnClick", BM_SortByColumnClick},
        {"BM_FilterByNamePattern", BM_FilterByNamePattern},
        {"BM_FilterByStatus", BM_FilterByStatus},
        {"BM_SwitchGroup", BM_SwitchGroup},
        {"BM_SwitchView", BM_SwitchView}};
    for (const auto& [name, function] : benchmarks) {
        benchmark::RegisterBenchmark(name, function)->Arg(count)->Unit(benchmark::kMillisecond)->MinTime(1.0);
    }
}

}  // namespace consolebench
