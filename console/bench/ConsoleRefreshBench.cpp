// What the console adds to a detection, and the device work it does while it stays painted: the
// steps after the library's detection (the store read back into the table, the rows, their order and
// the filled list); a whole Refresh, beside the library's own detection within it, with the longest
// time the event loop did not run and the console's memory; a keep-alive round to every print
// server; and a storm of status traps.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStandardItemModel>

#include <chrono>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "console/bench/ConsoleBench.h"
#include "console/core/ConsoleState.h"
#include "console/core/Messages.h"
#include "console/core/PrintServerTable.h"
#include "console/core/PrinterList.h"
#include "console/core/StringTable.h"
#include "console/core/TrapKeepAlive.h"
#include "console/core/frmProgress.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace consolebench {

namespace {

constexpr int kMacRole = Qt::UserRole + 1;
constexpr int kStatusSection = 2;  // name, description, status ...
constexpr int kStormSeconds = 3;
constexpr int kTrapsPerSecond = 100;
constexpr int kStormCode = 2;      // "WARMING UP": no card starts with it
constexpr int kCardStride = 7919;  // a prime: the storm's cards are all different

void StoreServers(int count) {
    for (int i = 0; i < count; ++i) {
        const QString mac = CardMac(i);
        const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + mac.toStdString();
        const auto key = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, path.c_str());
        key->WriteText("MAC Address", mac.toStdString());
        key->WriteText("Print Server Name", "Card-" + std::to_string(i + 1));
        key->WriteText("Print Server Description", "Print room");
        key->WriteText("IP Address",
                       "127.0." + std::to_string(i / 250 + 3) + "." + std::to_string(i % 250 + 1));
        key->WriteText("IPX Address", "00FACADE" + mac.toStdString());
        key->WriteNumber("Category", 2);
        key->WriteNumber("cProtocols", 7);
        key->WriteNumber("pProtocol", 2);
        key->WriteNumber("Detected", 1);
    }
}

void VisibleColumns() {
    console::ConsoleState& state = console::State();
    for (std::size_t column = 0; column < console::kColumnCount; ++column) {
        state.columnTitles[column] = QString("Column %1").arg(column + 1);
        state.options.columns[column].visible = column <= console::kMacColumn;
    }
}

void BM_ConsoleStepsAfterDetection(benchmark::State& bench) {
    Site::Close();
    const int count = static_cast<int>(bench.range(0));
    StoreServers(count);
    console::State() = console::ConsoleState();
    VisibleColumns();
    console::PrinterList list;
    list.resize(800, 500);
    list.show();
    for (auto _ : bench) {
        console::LoadPrintServerTable();
        console::SaveCategory();
        console::BuildPrinterRows();
        console::SortPrinterRows();
        list.FillPrinterList(true);
        QApplication::processEvents();  // the list painted
    }
    bench.counters["rows"] = static_cast<double>(list.Model()->rowCount());
    plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kAdapterOnlyKey);
}

// When the library's detection ended within a Refresh: its closing notice reached the dialog.
class DetectionClock : public QObject {
  public:
    explicit DetectionClock(PaintWatch& paint) : paint_(paint) { qApp->installEventFilter(this); }
    ~DetectionClock() override { qApp->removeEventFilter(this); }
    void Start() {
        clock_.start();
        endedMs_ = -1;
    }
    qint64 EndedMs() const { return endedMs_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* progress =
            event->type() == QEvent::Show ? qobject_cast<console::frmProgress*>(watched) : nullptr;
        if (progress != nullptr) {
            connect(progress, &console::frmProgress::DetectionEnded, this, [this] {
                endedMs_ = clock_.elapsed();
                paint_.Mark();
            });
        }
        return false;
    }

  private:
    PaintWatch& paint_;
    QElapsedTimer clock_;
    qint64 endedMs_ = -1;
};

// A Refresh of a site whose print servers the console knows already (their statuses are kept).
void BM_Refresh(benchmark::State& bench) {
    Site* site = Site::Of(bench);
    if (site == nullptr) {
        return;
    }
    PaintWatch paint;
    DetectionClock detection(paint);
    QElapsedTimer whole;
    double beyond = 0;
    for (auto _ : bench) {
        paint.Start();
        detection.Start();
        whole.start();
        site->Window().mnuRefresh_Click();
        QApplication::processEvents();  // the list painted
        beyond = std::max(beyond, static_cast<double>(whole.elapsed() - detection.EndedMs()));
        paint.Stop();
    }
    bench.counters["beyond_detection_ms"] = beyond;
    bench.counters["detection_ms"] = static_cast<double>(detection.EndedMs());
    bench.counters["rows"] = static_cast<double>(console::State().rows.size());
    bench.counters["longest_unpainted_ms"] = static_cast<double>(paint.LongestGapMs());
    bench.counters["unpainted_after_detection_ms"] = static_cast<double>(paint.LongestGapSinceMarkMs());
    bench.counters["unpainted_in_detection_ms"] = static_cast<double>(paint.LongestGapBeforeMarkMs());
    bench.counters["console_MiB"] = ResidentMiB();
    bench.counters["console_peak_MiB"] = PeakResidentMiB();
}

// The keep-alive timer's tick: a keep-alive to every print server, while the window stays painted.
void BM_KeepAliveRound(benchmark::State& bench) {
    Site* site = Site::Of(bench);
    if (site == nullptr) {
        return;
    }
    console::TrapKeepAlive& keepAlive = site->Window().KeepAlive();
    PaintWatch paint;
    for (auto _ : bench) {
        paint.Start();
        site->Window().tmrTrapKeeper_Timer();
        if (!RunLoopUntil([&] { return !keepAlive.RoundRunning(); }, 60000)) {
            bench.SkipWithError("the round did not end");
            return;
        }
        paint.Stop();
    }
    bench.counters["keep_alives"] = static_cast<double>(keepAlive.LastRoundSent());
    bench.counters["longest_unpainted_ms"] = static_cast<double>(paint.LongestGapMs());
}

// The rows still waiting for the status a trap carries, by hardware address, with the time the
// status changed on the card.
class PendingRows {
  public:
    using Clock = std::chrono::steady_clock;
    void Expect(const QString& mac) {
        const std::lock_guard lock(mutex_);
        pending_[mac] = Clock::now();
    }
    // The row shows the status: how long it took, or nothing when it was not awaited.
    std::optional<double> Arrived(const QString& mac) {
        const std::lock_guard lock(mutex_);
        const auto found = pending_.find(mac);
        if (found == pending_.end()) {
            return std::nullopt;
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - found->second).count();
        pending_.erase(found);
        return ms;
    }
    bool Empty() {
        const std::lock_guard lock(mutex_);
        return pending_.empty();
    }

  private:
    std::mutex mutex_;
    std::unordered_map<QString, Clock::time_point> pending_;
};

// 100 status changes a second on cards spread over the site, each sending its trap; every printer
// is monitored and every status alerts, so that each trap raises its alert box too.
void BM_TrapStorm(benchmark::State& bench) {
    Site* site = Site::Of(bench);
    if (site == nullptr) {
        return;
    }
    const int count = site->Count();
    console::ConsoleState& state = console::State();
    for (console::PrintServerEntry& entry : state.servers) {
        entry.notify = true;
    }
    state.options.notifyFlags = QString(40, '1');
    state.alertStyle = 1;
    int alerts = 0;
    console::SetMessageHook([&](const console::MessageShown&) {
        ++alerts;
        return static_cast<int>(console::kOk);
    });
    const QString wanted = console::LoadString(10000 + kStormCode);
    QStandardItemModel* model = site->Window().List()->Model();
    PendingRows pending;
    int followed = 0;
    double slowest = 0;
    const QMetaObject::Connection watch = QObject::connect(
        model, &QStandardItemModel::dataChanged, [&](const QModelIndex& from, const QModelIndex& to) {
            for (int row = from.row(); row <= to.row(); ++row) {
                if (model->item(row, kStatusSection)->text() != wanted) {
                    continue;
                }
                if (const std::optional<double> ms =
                        pending.Arrived(model->item(row, 0)->data(kMacRole).toString())) {
                    ++followed;
                    slowest = std::max(slowest, *ms);
                }
            }
        });
    const int traps = kStormSeconds * kTrapsPerSecond;
    PaintWatch paint;
    double before = 0;
    for (auto _ : bench) {
        before = ResidentMiB();
        paint.Start();
        std::thread storm([&] {
            const auto start = std::chrono::steady_clock::now();
            for (int k = 0; k < traps; ++k) {
                std::this_thread::sleep_until(start + std::chrono::milliseconds(1000 * k / kTrapsPerSecond));
                const int card = static_cast<int>((static_cast<long long>(k) * kCardStride) % count);
                pending.Expect(CardMac(card));
                site->Cards().Command("status #" + std::to_string(card) + " " + std::to_string(kStormCode));
            }
        });
        RunLoopUntil([&] { return followed == traps; }, 1000 * kStormSeconds + 10000);
        storm.join();
        paint.Stop();
    }
    QObject::disconnect(watch);
    console::SetMessageHook({});
    bench.counters["traps"] = traps;
    bench.counters["rows_followed"] = followed;
    bench.counters["slowest_follow_ms"] = slowest;
    bench.counters["alerts"] = alerts;
    bench.counters["longest_unpainted_ms"] = static_cast<double>(paint.LongestGapMs());
    bench.counters["memory_growth_MiB"] = ResidentMiB() - before;
}

}  // namespace

void RegisterDeviceBenchmarks(int count) {
    benchmark::RegisterBenchmark("BM_Refresh", BM_Refresh)
        ->Arg(count)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("BM_KeepAliveRound", BM_KeepAliveRound)
        ->Arg(count)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
}

void RegisterTrapStorm(int count) {
    benchmark::RegisterBenchmark("BM_TrapStorm", BM_TrapStorm)
        ->Arg(count)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
}

BENCHMARK(BM_ConsoleStepsAfterDetection)
    ->Arg(kSmallSite)
    ->Arg(kServers)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace consolebench
