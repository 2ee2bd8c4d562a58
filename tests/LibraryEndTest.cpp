// The configuration helper library's end in each order a process may take: with or without
// HelperCleanUp, with or without unloading the library, before the process exits. Each order runs in
// a child process of its own; the sanitizers end a child that touches freed memory or leaks with a
// failure code.
#include <gtest/gtest.h>

#include <cstdlib>

#include "confighelper/Halbrin.h"
#include "platform/services/ModuleLoader.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace {

struct EndOrder {
    const char* name;
    bool cleanUp;
    bool unload;
};

template <typename Function>
Function* Export(plat::ModuleHandle module, const char* name) {
    return reinterpret_cast<Function*>(plat::ModuleSymbol(module, name));
}

// Starts the library as the console does (its trap listeners, DLC SAP 12 with it, are open), ends it
// in the given order and exits.
[[noreturn]] void StartAndEnd(const EndOrder& order) {
    plat::ModuleHandle halbrin = plat::LoadModule("Halbrin.dll");
    if (halbrin == nullptr) {
        std::_Exit(2);
    }
    char options[64];
    std::uint32_t size = sizeof options;
    if (Export<decltype(HelperInitialize)>(halbrin, "HelperInitialize")(0, options, &size) != kHelperOk) {
        std::_Exit(3);
    }
    if (order.cleanUp) {
        Export<decltype(HelperCleanUp)>(halbrin, "HelperCleanUp")("1,2", 4);
    }
    if (order.unload) {
        plat::FreeModule(halbrin);
    }
    std::exit(0);
}

class LibraryEnd : public ::testing::TestWithParam<EndOrder> {
  protected:
    static void SetUpTestSuite() {
        auto display = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kDisplayKey);
        auto jobs = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kPrintJobsKey);
        ASSERT_TRUE(display && jobs);
        ASSERT_EQ(display->WriteText("Options", "1,2,3"), plat::kStoreOk);
        ASSERT_EQ(jobs->WriteText("JobFile", "/tmp/jobs.txt"), plat::kStoreOk);
    }
};

TEST_P(LibraryEnd, IsCleanInEveryOrder) {
    ASSERT_NE(std::getenv("VORLANE_LAN"), nullptr) << "the DLC listener needs the simulated LAN";
    EXPECT_EXIT(StartAndEnd(GetParam()), ::testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(Orders, LibraryEnd,
                         ::testing::Values(EndOrder{"Exit", false, false}, EndOrder{"CleanUpExit", true, false},
                                           EndOrder{"UnloadExit", false, true},
                                           EndOrder{"CleanUpUnloadExit", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
