#include <vector>

#include "confighelper/DeviceStore.h"
#include "confighelper/Halbrin.h"
#include "confighelper/LibrarySettings.h"
#include "confighelper/RegistryPaths.h"
#include "confighelper/RegistryValue.h"
#include "confighelper/SocketLibraryUse.h"
#include "confighelper/TrapListeners.h"
#include "transport/DlcCommandLayer.h"

namespace {

constexpr std::uint32_t kJobFileSize = 256;

// What the library does when it is loaded and unloaded: a PC without DLC loads it all the same.
__attribute__((constructor)) void LibraryLoaded() {
    DlcInitialize();
    LoadLibrarySettings(kLoadDefaults);
}

// The listeners are HelperCleanUp's to close; at process exit they simply end with it.
__attribute__((destructor)) void LibraryUnloaded() {
    DlcCloseAdapter();
}

bool JobFileNamed() {
    char jobFile[kJobFileSize];
    std::uint32_t size = sizeof jobFile;
    return ReadRegistryValue(plat::kStoreLocalMachine, kPrintJobsKey, "JobFile", jobFile, &size) == kHelperOk;
}

// Stores the options as given, but for a terminator in place of their last byte; only into an
// existing Display key.
void StoreDisplayOptions(const char* options, std::uint32_t length) {
    plat::StoreKey key = 0;
    if (options == nullptr || length == 0 ||
        plat::StoreOpenKey(plat::kStoreLocalMachine, kDisplayKey, plat::kStoreReadWrite, &key) !=
            plat::kStoreOk) {
        return;
    }
    std::vector<char> text(options, options + length);
    text.back() = '\0';
    plat::StoreSetValue(key, "Options", plat::kStoreValueText, text.data(), length);
    plat::StoreCloseKey(key);
}

}  // namespace

HALBRIN_EXPORT HelperResult HelperInitialize(plat::WindowHandle noticeWindow, char* options,
                                             std::uint32_t* optionsSize) {
    SetNoticeWindow(noticeWindow);
    if (options == nullptr || optionsSize == nullptr ||
        ReadRegistryValue(plat::kStoreLocalMachine, kDisplayKey, "Options", options, optionsSize) !=
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
}

HALBRIN_EXPORT HelperResult HelperCleanUp(const char* options, std::uint32_t length) {
    CloseTrapListeners();
    StopSocketLibrary();
    StoreDisplayOptions(options, length);
    PurgeDeviceStore(nullptr);
    return kHelperOk;
}
