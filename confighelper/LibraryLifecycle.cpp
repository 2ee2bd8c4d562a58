#include <string>

#include "confighelper/DeviceStore.h"
#include "confighelper/Halbrin.h"
#include "confighelper/LibrarySettings.h"
#include "confighelper/RegistryValue.h"
#include "confighelper/SocketLibraryUse.h"
#include "confighelper/TrapListeners.h"
#include "platform/services/ExportGuard.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "transport/DlcCommandLayer.h"

namespace {

constexpr std::uint32_t kJobFileSize = 256;

// What the library does when it is loaded and unloaded: a PC without DLC loads it all the same.
__attribute__((constructor)) void LibraryLoaded() {
    plat::GuardExport([] {
        DlcInitialize();
        LoadLibrarySettings(kLoadDefaults);
    });
}

// Whatever HelperCleanUp has not closed goes first: no listener thread may run the library's code and
// no DLC command may point into its memory once that is gone. At process exit this runs after the
// static objects are destroyed; neither the listeners nor the DLC layer's state are among them.
__attribute__((destructor)) void LibraryUnloaded() {
    plat::GuardExport([] {
        CloseTrapListeners();
        DlcUnload();
    });
}

bool JobFileNamed() {
    char jobFile[kJobFileSize];
    std::uint32_t size = sizeof jobFile;
    return ReadRegistryValue(plat::kStoreLocalMachine, plat::kPrintJobsKey, "JobFile", jobFile, &size) ==
           kHelperOk;
}

// Stores the options as given, but for a terminator in place of their last byte; only into an
// existing Display key.
void StoreDisplayOptions(const char* options, std::uint32_t length) {
    if (options == nullptr || length == 0) {
        return;
    }
    const auto key =
        plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kDisplayKey, plat::kStoreReadWrite);
    if (key) {
        // Its first length - 1 bytes and a terminator: `length` bytes.
        key->WriteText("Options", std::string(options, length - 1));
    }
}

}  // namespace

HALBRIN_EXPORT HelperResult HelperInitialize(plat::WindowHandle noticeWindow, char* options,
                                             std::uint32_t* optionsSize) {
    return plat::GuardExport(kHelperSocketStartFailed, kHelperNoMemory, [&]() -> HelperResult {
        SetNoticeWindow(noticeWindow);
        if (options == nullptr || optionsSize == nullptr ||
            ReadRegistryValue(plat::kStoreLocalMachine, plat::kDisplayKey, "Options", options, optionsSize) !=
                kHelperOk) {
            return kHelperStoreFailed;
        }
        LoadLibrarySettings(kInitializeDefaults);
        if (!JobFileNamed()) {
            return kHelperStoreFailed;
        }
        const HelperResult started = StartSocketLibrary();
        if (started != kHelperOk) {
            return started;
        }
        DlcInitialize();
        OpenTrapListeners(nullptr);
        return kHelperOk;
    });
}

HALBRIN_EXPORT HelperResult HelperCleanUp(const char* options, std::uint32_t length) {
    return plat::GuardExport(kHelperFailed, kHelperNoMemory, [&]() -> HelperResult {
        CloseTrapListeners();
        StopSocketLibrary();
        StoreDisplayOptions(options, length);
        PurgeDeviceStore(nullptr);
        return kHelperOk;
    });
}
