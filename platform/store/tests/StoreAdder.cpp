// The other process of the concurrency tests. It waits for one byte on its standard input, opens the
// store and the key, prints "ready", waits for its standard input to close, then adds 1 to a stored
// number the given number of times and prints each result on a line of its own. So every adder opens
// at once, and every adder adds at once.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/store/ConfigStore.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s KEY VALUE COUNT\n", argv[0]);
        return 2;
    }
    char byte;
    if (read(STDIN_FILENO, &byte, 1) != 1) {
        return 3;
    }
    plat::StoreKey key = 0;
    if (const plat::StoreResult result = plat::StoreCreateKey(plat::kStoreLocalMachine, argv[1], &key);
        result != plat::kStoreOk) {
        std::fprintf(stderr, "create key: %ld\n", result);
        return 4;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    while (read(STDIN_FILENO, &byte, 1) > 0) {
    }
    const long count = std::strtol(argv[3], nullptr, 10);
    for (long i = 0; i < count; ++i) {
        std::uint32_t result = 0;
        if (const plat::StoreResult added = plat::StoreAddToNumber(key, argv[2], 1, &result);
            added != plat::kStoreOk) {
            std::fprintf(stderr, "add: %ld\n", added);
            return 5;
        }
        std::printf("%u\n", result);
        // A caller does other work between two adds; this gives the other adder its turns.
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return plat::StoreCloseKey(key) == plat::kStoreOk ? 0 : 6;
}
