#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <string>

#include "confighelper/Halbrin.h"
#include "platform/services/ExportGuard.h"
#include "platform/window/RuntimeFolder.h"

namespace {

constexpr const char* kMappingName = "PSINFO.SM";

struct SharedView {
    std::mutex lock;
    void* view = nullptr;
};

SharedView& TheView() {
    static SharedView shared;
    return shared;
}

// Maps the whole of the existing mapping for writing; null when nobody made it. The mapping stays
// open for the life of the process, as it always has.
void* MapExisting() {
    const std::string path = plat::RuntimeFolder() + "/" + kMappingName;
    const int file = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (file < 0) {
        return nullptr;
    }
    struct stat status {};
    void* view = nullptr;
    if (fstat(file, &status) == 0 && status.st_size > 0) {
        view = mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ | PROT_WRITE, MAP_SHARED,
                    file, 0);
    }
    close(file);
    return view == MAP_FAILED ? nullptr : view;
}

}  // namespace

HALBRIN_EXPORT void* HelperInitializeSharedMem() {
    return plat::GuardExport(nullptr, [&]() -> void* {
        SharedView& shared = TheView();
        std::lock_guard guard(shared.lock);
        if (shared.view == nullptr) {
            shared.view = MapExisting();
        }
        return shared.view;
    });
}
