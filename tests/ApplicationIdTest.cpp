// The DLC application id is one byte of the process: each library the console loads opens the DLC
// adapter when it is loaded and writes the id it gets there, and every DLC command of either library
// carries the byte. This program never names bgApplId itself: a reference from the executable would
// give it a copy of the byte (a copy relocation) that the libraries then use, while a look-up in a
// library still finds the platform layer's original.
#include "tests/ConsoleExports.h"
#include "tests/ConsoleTest.h"

namespace consoletest {
namespace {

using ApplicationIdTest = ConsoleTest;

const std::string kDlcCard = "00005E500001";
// The emulated adapters of this process are numbered from 1; none has this id.
constexpr unsigned char kNoAdapterId = 0xEE;

unsigned char* ApplicationIdOf(const char* library) {
    return static_cast<unsigned char*>(plat::ModuleSymbol(ConsoleModule(library), "bgApplId"));
}

TEST_F(ApplicationIdTest, HalbrinAndVantorelCarryTheSameByte) {
    // A card with DLC alone and no other address, so that no exchange with it falls back elsewhere.
    StartCards("card OnlyDlc mac=00005E500001 ip=0.0.0.0 ipx-network=00000000 protocols=dlc status=9\n");
    unsigned char* halbrinsId = ApplicationIdOf("Halbrin.dll");
    unsigned char* vantorelsId = ApplicationIdOf("Vantorel.dll");
    ASSERT_NE(halbrinsId, nullptr);
    ASSERT_NE(vantorelsId, nullptr);
    EXPECT_EQ(halbrinsId, vantorelsId);
    ASSERT_NE(*halbrinsId, 0) << "the id of an open adapter";

    // Halbrin adds the card by its hardware address over DLC; Vantorel reads its status over DLC.
    std::string value;
    ASSERT_EQ(halbrin::HelperValidateAdapter(kDlcCard.c_str(), 4), 0);
    ASSERT_EQ(GetObject(kDlcCard, kPrinterStatusOid, value), 0);

    // With an id that no adapter has in that byte, neither library reaches the card; with the id
    // back, both do again.
    const unsigned char openId = *halbrinsId;
    *halbrinsId = kNoAdapterId;
    EXPECT_NE(halbrin::HelperValidateAdapter(kDlcCard.c_str(), 4), 0);
    EXPECT_NE(GetObject(kDlcCard, kPrinterStatusOid, value), 0);
    *halbrinsId = openId;
    EXPECT_EQ(halbrin::HelperValidateAdapter(kDlcCard.c_str(), 4), 0);
    EXPECT_EQ(GetObject(kDlcCard, kPrinterStatusOid, value), 0);
    EXPECT_EQ(value, "1,9");
}

}  // namespace
}  // namespace consoletest
