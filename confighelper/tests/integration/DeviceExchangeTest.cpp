#include <cstring>
#include <string>

#include "confighelper/tests/integration/HelperFixture.h"
#include "netware/cardtable/CardServiceTable.h"
#include "platform/services/ModuleLoader.h"

namespace helpertest {
namespace {

class DeviceExchangeTest : public HelperTest {
  protected:
    // One card, stored by validation so that it can be named by its adapter name.
    void StartOneCard(sim::CardDescription card) {
        cards->AddCard(card);
        StartCards();
        ASSERT_EQ(HelperValidateAdapter(Dotted(card.ip).c_str(), 2), 0);
    }
    std::string Get(const std::string& oid) {
        char oids[128];
        std::snprintf(oids, sizeof oids, "%s", oid.c_str());
        char values[512] = {};
        std::int32_t size = sizeof values;
        EXPECT_EQ(HelperSNMPTransact(AdapterName(card).c_str(), 0, oids, sizeof oids, values, &size, 1), 0);
        return values;
    }
    // The card without an address yet (answering broadcasts only), and card 21 at its own address.
    void StartFreshCard(bool withNeighbour) {
        sim::CardDescription fresh = NumberedCard(card, 2);
        fresh.ip = {0, 0, 0, 0};
        cards->AddCard(fresh);
        if (withNeighbour) {
            cards->AddCard(NumberedCard(21, 2));
        }
        StartCards();
    }
    std::size_t card = 20;
};

TEST_F(DeviceExchangeTest, BroadcastSetGivesANewCardItsFirstAddress) {
    StartFreshCard(true);
    ASSERT_EQ(HelperBcastSet("127.1.9.9", AdapterName(card).c_str()), 0);
    ASSERT_EQ(HelperValidateAdapter("127.1.9.9", 2), 0);
    EXPECT_EQ(StoredText(AdapterName(card), "IP Address"), "127.1.9.9");
    ASSERT_EQ(HelperValidateAdapter(Dotted(CardIp(21)).c_str(), 2), 0) << "the other card keeps its address";
}

// An address another device answers at is never given: nothing is sent to the new card, and the
// device there keeps it.
TEST_F(DeviceExchangeTest, BroadcastSetRefusesAnAddressInUse) {
    StartFreshCard(true);
    const std::string taken = Dotted(CardIp(21));
    EXPECT_EQ(HelperBcastSet(taken.c_str(), AdapterName(card).c_str()), kHelperAddressInUse);
    ASSERT_EQ(HelperValidateAdapter(taken.c_str(), 2), 0);
    EXPECT_EQ(StoredText(AdapterName(21), "IP Address"), taken) << "the other card still answers there";
}

// A broadcast answered by a card that then does not answer at the address is no address given; once
// it answers there itself, the address counts as its own and nothing more is sent.
TEST_F(DeviceExchangeTest, BroadcastSetCountsOnlyOnceTheCardAnswersAtTheAddress) {
    StartFreshCard(false);
    sim::FaultSwitches losing;
    losing.dropPercent = 99;  // the broadcast is answered, the next 98 requests are lost
    cards->SetFaults(0, sim::Protocol::Ip, losing);
    EXPECT_EQ(HelperBcastSet("127.1.9.9", AdapterName(card).c_str()), kHelperNotAtNewAddress);
    cards->SetFaults(0, sim::Protocol::Ip, sim::FaultSwitches{});
    EXPECT_EQ(HelperBcastSet("127.1.9.9", AdapterName(card).c_str()), 0);
    ASSERT_EQ(HelperValidateAdapter("127.1.9.9", 2), 0);
    EXPECT_EQ(StoredText(AdapterName(card), "IP Address"), "127.1.9.9");
}

TEST_F(DeviceExchangeTest, BroadcastSetWithoutAnAnswerOrWithBadArgumentsFails) {
    cards->AddCard(NumberedCard(card, 2));
    StartCards();
    const std::uint32_t start = plat::TickCount();
    EXPECT_EQ(HelperBcastSet("127.1.9.9", "00005E10FFFF"), kHelperNoAnswer) << "no card has that address";
    // The address is asked first (one wait), then the broadcast waits once for all its answers.
    EXPECT_LT(plat::TickCount() - start, 2500u) << "one deadline for the whole broadcast wait";
    EXPECT_EQ(HelperBcastSet("127.1.9", AdapterName(card).c_str()), 1);
    EXPECT_EQ(HelperBcastSet("127.1.9.9", "00005E10"), 1);
}

TEST_F(DeviceExchangeTest, ZoneWalkReturnsTheCardsZones) {
    sim::CardDescription zoned = NumberedCard(card, 2);
    for (int i = 0; i < 30; ++i) {
        zoned.zones.push_back("Zone " + std::to_string(i));
    }
    StartOneCard(zoned);
    std::string expected;
    for (const std::string& zone : zoned.zones) {
        expected += std::to_string(zone.size()) + "," + zone + ",";
    }
    expected.pop_back();

    char buffer[1024];
    std::uint32_t size = sizeof buffer;
    ASSERT_EQ(HelperGetAppleTalkZones(AdapterName(card).c_str(), buffer, &size), 0);
    EXPECT_EQ(std::string(buffer), expected);
    EXPECT_EQ(size, expected.size());

    char small[40];
    std::memset(small, '#', sizeof small);
    size = sizeof small - 8;
    EXPECT_EQ(HelperGetAppleTalkZones(AdapterName(card).c_str(), small, &size), kHelperBufferTooSmall);
    EXPECT_EQ(size, expected.size() + 1) << "the needed length counts the final comma";
    EXPECT_EQ(std::string(small + sizeof small - 8, 8), std::string(8, '#')) << "nothing past the given size";
}

TEST_F(DeviceExchangeTest, TftpParametersNeedAnErrorFreeAnswer) {
    StartOneCard(NumberedCard(card, 2));
    const std::string address = Dotted(CardIp(card));
    const std::string oid = "1.3.6.1.4.1.32473.11.5.1.12.2.8.0";
    char oids[64];
    char values[32];
    auto send = [&](const char* value) {
        std::snprintf(oids, sizeof oids, "%s", oid.c_str());
        std::snprintf(values, sizeof values, "%s", value);
        std::uint32_t size = static_cast<std::uint32_t>(std::strlen(values) + 1);
        return HelperSetTFTPParameters(address.c_str(), 2, oids, sizeof oids, values, &size, 1);
    };
    EXPECT_EQ(send("2,8,fw/a.bin"), 0);
    EXPECT_EQ(std::string(oids), oid) << "the caller's list is not cut apart";
    EXPECT_EQ(Get(oid), "2,8,fw/a.bin");
    EXPECT_EQ(send("1,7"), 1) << "the card refuses an integer there";
}

TEST_F(DeviceExchangeTest, CardServiceFunctionsAndTheDlcIdAreExportedHere) {
    plat::ModuleHandle halbrin = plat::LoadModule("Halbrin.dll");
    ASSERT_NE(halbrin, nullptr);
    for (const char* name :
         {"NwSNMPInit", "NwSNMPGetJobCheckDelay", "NwSNMPSetJobCheckDelay", "NwSNMPGetCfgCheckDelay",
          "NwSNMPSetCfgCheckDelay", "bgApplId", "HelperDetectPrintServers", "HexToAscii"}) {
        EXPECT_NE(plat::ModuleSymbol(halbrin, name), nullptr) << name;
    }
    plat::FreeModule(halbrin);

    StartOneCard(NumberedCard(card, 2));
    std::int32_t delay = 0;
    ASSERT_EQ(NwSNMPGetJobCheckDelay(AdapterName(card).c_str(), &delay), 0);
    EXPECT_EQ(delay, 5);
}

TEST_F(DeviceExchangeTest, BroadcastSetThatEveryCardRefusesEndsWithoutAnswer) {
    cards->AddCard(NumberedCard(card, 2));
    StartCards();
    sim::FaultSwitches refusing;
    refusing.errorStatus = 5;
    cards->SetFaults(0, sim::Protocol::Ip, refusing);
    EXPECT_EQ(HelperBcastSet("127.1.9.9", AdapterName(card).c_str()), kHelperNoAnswer);
}

TEST_F(DeviceExchangeTest, StatusCodeAndTextOfAStoredCard) {
    StartOneCard(NumberedCard(card, 2));
    cards->SetStatus(0, 1025);
    std::int32_t code = 0;
    char text[8] = "xxxxxxx";
    std::uint32_t length = sizeof text;
    ASSERT_EQ(HelperGetPrinterStatusCode(AdapterName(card).c_str(), &code, text, &length), 0);
    EXPECT_EQ(code, 1025);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(length, 0u);
}

TEST_F(DeviceExchangeTest, DetailsOfAStoredCardAreReadAgain) {
    StartOneCard(NumberedCard(card, 2));
    const std::string adapter = AdapterName(card);
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + adapter;
    const char stale[] = "stale";
    ASSERT_EQ(WriteRegistryValue(plat::kStoreLocalMachine, path.c_str(), "Print Server Name", stale,
                                 sizeof stale, plat::kStoreValueText),
              0);
    ASSERT_EQ(HelperGetIPSDetails(adapter.c_str()), 0);
    EXPECT_EQ(StoredText(adapter, "Print Server Name"), "PS-20");
    EXPECT_EQ(HelperGetIPSDetails("00005E10EEEE"), 1) << "no such entry, nobody to ask";
}

TEST_F(DeviceExchangeTest, HexTextIsSentAsOneOctetString) {
    StartOneCard(NumberedCard(card, 2));
    const std::string oid = "1.3.6.1.4.1.32473.11.5.1.12.2.8.0";
    char oids[64];
    std::snprintf(oids, sizeof oids, "%s", oid.c_str());
    ASSERT_EQ(AsciiToHex("61622F63", 4, AdapterName(card).c_str(), 2, oids, sizeof oids), 0);
    EXPECT_EQ(Get(oid), "2,4,ab/c");
    EXPECT_NE(AsciiToHex("6162", 4, AdapterName(card).c_str(), 2, oids, sizeof oids), 0) << "too few digits";
}

TEST(SmallExports, WriteOnlyWithinTheirSizes) {
    char text[6] = "#####";
    const std::uint8_t bytes[] = {0x0A, 0xFF};
    HexToAscii(text, bytes, 2);
    EXPECT_STREQ(text, "0AFF");

    char address[16];
    std::memset(address, '#', sizeof address);
    std::uint32_t size = 15;
    EXPECT_EQ(HelperGetHostIPAddress(address, &size), 1);
    EXPECT_EQ(address[0], '#');
    size = sizeof address;
    ASSERT_EQ(HelperGetHostIPAddress(address, &size), 0);
    EXPECT_STREQ(address, "127.0.0.1") << "the test network has its loopback only";
    EXPECT_EQ(size, 9u);
    EXPECT_EQ(HelperAppleTalkToAscii(0, 0), 0);
}

}  // namespace
}  // namespace helpertest
