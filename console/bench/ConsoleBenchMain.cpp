// The console's benchmarks, the site of a tenth of the size beside each figure in one run: for each
// size the device work first, then the list, then the trap storm, all on one simulated site.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

#include "console/bench/ConsoleBench.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    for (const int count : {consolebench::kSmallSite, consolebench::kServers}) {
        consolebench::RegisterDeviceBenchmarks(count);
        consolebench::RegisterListBenchmarks(count);
        consolebench::RegisterTrapStorm(count);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    consolebench::Site::Close();
    benchmark::Shutdown();
    return 0;
}
