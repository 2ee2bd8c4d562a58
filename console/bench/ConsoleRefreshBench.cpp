// What the console adds to a detection: reading the device store back into its table, the rows,
// their order and the filled list, for 1000 print servers (goal: under 0.5 s); and a whole Refresh
// against 1000 simulated print servers, with the longest time the console's event loop did not run
// (the console stays painted while the library waits).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardItemModel>
#include <QTimer>

#include <cstdlib>

#include "console/core/ConsoleState.h"
#include "console/core/NewLook.h"
#include "console/core/PrintServerTable.h"
#include "console/core/PrinterList.h"
#include "console/core/QueuePump.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "tests/SimulatorProcess.h"

namespace {

constexpr int kServers = 1000;

void StoreServers(int count) {
    for (int i = 0; i < count; ++i) {
        char mac[13];
        std::snprintf(mac, sizeof mac, "00005E%06X", i + 1);
        const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + mac;
        const auto key = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, path.c_str());
        key->WriteText("MAC Address", mac);
        key->WriteText("Print Server Name", "Card-" + std::to_string(i + 1));
        key->WriteText("Print Server Description", "Print room");
        key->WriteText("IP Address",
                       "127.0." + std::to_string(i / 250 + 3) + "." + std::to_string(i % 250 + 1));
        key->WriteText("IPX Address", std::string("00FACADE") + mac);
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
    StoreServers(kServers);
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
BENCHMARK(BM_ConsoleStepsAfterDetection)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_RefreshOfAThousandPrintServers(benchmark::State& bench) {
    consoletest::SimulatorProcess cards;
    std::string error;
    if (!cards.Start("cards 1000 Card mac=00005E400001 ip=127.0.3.1 protocols=ip engine=mixed\n", error)) {
        bench.SkipWithError(error.c_str());
        return;
    }
    plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kSnmpKey)
        ->WriteNumber("AutoDetectTimeout", 2);
    console::QueuePump pump;
    console::State() = console::ConsoleState();
    console::NewLook window;
    window.Form_Load();
    window.show();
    // A tick every 10 ms that finds the loop running; the longest gap is the longest time unpainted.
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - last);
        last = now;
    });
    for (auto _ : bench) {
        clock.start();
        last = 0;
        ticker.start(10);
        window.mnuRefresh_Click();
        ticker.stop();
    }
    bench.counters["rows"] = static_cast<double>(console::State().rows.size());
    bench.counters["longest_unpainted_ms"] = static_cast<double>(longestGap);
    window.close();
    cards.Stop();
}
BENCHMARK(BM_RefreshOfAThousandPrintServers)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
