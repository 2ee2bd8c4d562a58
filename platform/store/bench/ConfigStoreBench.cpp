// The store's cost per call, as the libraries use it: a number or a text read from an open key, a
// number written, the atomic add, the open-read-close that a registry helper makes per value, and a
// write with a read after it once a round over thousands of entries has been read.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/store/ConfigStore.h"

namespace {

using namespace plat;

constexpr const char* kEntry = "Software\\Vorlane\\VorlanePrintUtility\\3.0\\AdapterOnly\\0000C0123456";

StoreKey Entry() {
    StoreKey key = 0;
    StoreCreateKey(kStoreLocalMachine, kEntry, &key);
    const std::uint32_t category = 6;
    StoreSetValue(key, "Category", kStoreValueNumber, &category, sizeof category);
    const char name[] = "Printer in room 101";
    StoreSetValue(key, "Print Server Name", kStoreValueText, name, sizeof name);
    return key;
}

void QueryNumber(benchmark::State& state) {
    const StoreKey key = Entry();
    for (auto _ : state) {
        std::uint32_t number = 0;
        std::uint32_t size = sizeof number;
        if (StoreQueryValue(key, "Category", nullptr, &number, &size) != kStoreOk) {
            state.SkipWithError("query failed");
        }
        benchmark::DoNotOptimize(number);
    }
    StoreCloseKey(key);
}
BENCHMARK(QueryNumber);

void QueryText(benchmark::State& state) {
    const StoreKey key = Entry();
    for (auto _ : state) {
        char text[257];
        std::uint32_t size = sizeof text;
        if (StoreQueryValue(key, "Print Server Name", nullptr, text, &size) != kStoreOk) {
            state.SkipWithError("query failed");
        }
        benchmark::DoNotOptimize(text);
    }
    StoreCloseKey(key);
}
BENCHMARK(QueryText);

void OpenQueryClose(benchmark::State& state) {
    StoreCloseKey(Entry());
    for (auto _ : state) {
        StoreKey key = 0;
        std::uint32_t number = 0;
        std::uint32_t size = sizeof number;
        if (StoreOpenKey(kStoreLocalMachine, kEntry, kStoreRead, &key) != kStoreOk ||
            StoreQueryValue(key, "Category", nullptr, &number, &size) != kStoreOk) {
            state.SkipWithError("open or query failed");
        }
        StoreCloseKey(key);
        benchmark::DoNotOptimize(number);
    }
}
BENCHMARK(OpenQueryClose);

void SetNumber(benchmark::State& state) {
    const StoreKey key = Entry();
    std::uint32_t number = 0;
    for (auto _ : state) {
        ++number;
        if (StoreSetValue(key, "pProtocol", kStoreValueNumber, &number, sizeof number) != kStoreOk) {
            state.SkipWithError("set failed");
        }
    }
    StoreCloseKey(key);
}
BENCHMARK(SetNumber);

void AddToNumber(benchmark::State& state) {
    const StoreKey key = Entry();
    for (auto _ : state) {
        if (StoreAddToNumber(key, "Counter", 1, nullptr) != kStoreOk) {
            state.SkipWithError("add failed");
        }
    }
    StoreCloseKey(key);
}
BENCHMARK(AddToNumber);

// A detection rewrites thousands of entries after the console has read them all: each write moves the
// kept reads on, and each read after it is kept anew.
void SetAndQueryAfterManyReads(benchmark::State& state) {
    const StoreKey key = Entry();
    for (std::uint32_t i = 0; i < 40000; ++i) {
        std::uint32_t number = 0;
        std::uint32_t size = sizeof number;
        StoreQueryValue(key, ("Value " + std::to_string(i)).c_str(), nullptr, &number, &size);
    }
    std::uint32_t number = 0;
    for (auto _ : state) {
        ++number;
        std::uint32_t read = 0;
        std::uint32_t size = sizeof read;
        if (StoreSetValue(key, "pProtocol", kStoreValueNumber, &number, sizeof number) != kStoreOk ||
            StoreQueryValue(key, "Category", nullptr, &read, &size) != kStoreOk) {
            state.SkipWithError("set or query failed");
        }
    }
    StoreCloseKey(key);
}
BENCHMARK(SetAndQueryAfterManyReads);

}  // namespace
