// Loads the DLC interface by name only, as the deliverables do, so that it is unloaded again when freed:
// the leak checker then sees anything the interface left behind.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/dlc/DlcInterface.h"
#include "platform/services/ModuleLoader.h"

namespace plat {
namespace {

TEST(DlcUnload, APcWithoutDlcRefusesTheOpenAndUnloadsTheInterfaceCleanly) {
    unsetenv("VORLANE_LAN");
    ModuleHandle module = LoadModule("DLCAPI.DLL");
    ASSERT_NE(module, nullptr);
    auto acsLan = reinterpret_cast<AcsLanEntry>(ModuleSymbol(module, "AcsLan"));
    ASSERT_NE(acsLan, nullptr);
    DlcAdapterParms adapter{};
    DlcOpenAdapterParms open{&adapter, nullptr, nullptr, nullptr};
    DlcCommandBlock block{};
    block.command = kDlcDirOpenAdapter;
    block.parameter.table = &open;
    EXPECT_EQ(acsLan(&block), kDlcStatusNotInstalled);
    EXPECT_EQ(block.status, kDlcStatusNotInstalled);
    FreeModule(module);
}

}  // namespace
}  // namespace plat
