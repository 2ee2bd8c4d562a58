// The library loads into a process whether or not this PC has DLC, and shows every export. Run
// twice: without a simulated LAN (no DLC at all) and on one (DLC present).
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/services/ApplicationId.h"

namespace {

TEST(LibraryLoad, LoadsAndShowsEveryExport) {
    const bool lanPresent = std::getenv("VORLANE_LAN") != nullptr;
    void* library = dlopen(VANTOREL_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const char* name :
         {"HelperSNMPTransact", "HelperSNMPTransactAscii", "HelperGetSNMPObjects", "HelperFormSNMPPacket",
          "HelperSNMPDecodePacket", "HelperSnmpEncodePdu", "HelperSnmpDecodePdu", "HelperFreeReqParam",
          "HelperSnmpDecodeTrapPdu", "HelperDecodeValue", "HelperSNMPRegisterTrapDestination",
          "HelperTrapKeepAlive"}) {
        EXPECT_NE(dlsym(library, name), nullptr) << name;
    }
    if (lanPresent) {
        EXPECT_NE(bgApplId, 0) << "opening the DLC adapter at load gives the process its application id";
    } else {
        EXPECT_EQ(bgApplId, 0) << "no DLC, no adapter opened";
    }
    // Left loaded, as the console leaves the libraries it loads until it ends.
}

}  // namespace
