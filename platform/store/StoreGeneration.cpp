#include "platform/store/StoreGeneration.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace plat {

namespace {

constexpr std::size_t kCounterSize = sizeof(std::uint64_t);
static_assert(std::atomic_ref<std::uint64_t>::is_always_lock_free, "the counter is shared between processes");

}  // namespace

std::unique_ptr<StoreGeneration> StoreGeneration::Open(const std::string& storePath) {
    // Whoever may change the store must be able to count its change: the counter gets the store
    // file's permissions.
    struct stat store {};
    const mode_t mode = stat(storePath.c_str(), &store) == 0 ? store.st_mode & 0666 : 0644;
    const std::string path = storePath + "-generation";
    const int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, mode);
    if (file < 0) {
        return nullptr;
    }
    fchmod(file, mode);  // past the umask; refused harmlessly when another user made the file
    struct stat status {};
    // A new file is made long enough; one that is already is left alone (another process may count in it).
    const bool sized =
        fstat(file, &status) == 0 &&
        (static_cast<std::size_t>(status.st_size) >= kCounterSize || ftruncate(file, kCounterSize) == 0);
    void* mapped =
        sized ? mmap(nullptr, kCounterSize, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0) : MAP_FAILED;
    close(file);
    if (mapped == MAP_FAILED) {
        return nullptr;
    }
    return std::unique_ptr<StoreGeneration>(new StoreGeneration(static_cast<std::uint64_t*>(mapped)));
}

StoreGeneration::~StoreGeneration() {
    munmap(counter_, kCounterSize);
}

std::uint64_t StoreGeneration::Current() const {
    return std::atomic_ref(*counter_).load();
}

void StoreGeneration::Advance() {
    std::atomic_ref(*counter_).fetch_add(1);
}

}  // namespace plat
