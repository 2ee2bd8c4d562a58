// A card silenced on its preferred protocol is still read by the console's get, over the protocol
// the device channel falls back to, and the device store remembers that protocol for every later
// exchange.
#include "tests/ConsoleExports.h"
#include "tests/ConsoleStore.h"
#include "tests/ConsoleTest.h"

namespace consoletest {
namespace {

using FallbackTest = ConsoleTest;

struct Silenced {
    const char* name;
    const char* adapter;
    const char* ip;
    const char* speaks;
    std::uint32_t protocols;
    const char* silenced;  // the fault switch's protocol
    std::uint32_t before;  // "pProtocol" after the detection
    std::uint32_t after;   // "pProtocol" after the get
    int status;
};

// From DLC to IP, else IPX; from IP to DLC, else IPX.
const Silenced kCases[] = {
    {"Every", "00005E400001", "127.0.4.1", "all", 7, "dlc", 4, 2, 5},
    {"NoIp", "00005E400002", "127.0.4.2", "ipx,dlc", 5, "dlc", 4, 1, 6},
    {"NoDlc", "00005E400003", "127.0.4.3", "ip,ipx", 3, "ip", 2, 1, 7},
};

TEST_F(FallbackTest, ASilencedCardIsReadOverItsNextProtocolWhichTheStoreKeeps) {
    std::string description;
    for (const Silenced& card : kCases) {
        description += CardLine(card.name, card.adapter, card.ip, card.speaks, card.status);
    }
    StartCards(description);
    std::string options;
    ASSERT_EQ(StartUp(options), 0);
    ASSERT_EQ(halbrin::HelperDetectPrintServers(0, 0, 0, 0, 0, 0), 0);

    for (const Silenced& card : kCases) {
        SCOPED_TRACE(card.name);
        const std::string entry = DeviceEntryKey(card.adapter);
        ASSERT_EQ(ReadStoreNumber(entry, "cProtocols"), card.protocols);
        ASSERT_EQ(ReadStoreNumber(entry, "pProtocol"), card.before);
        ASSERT_EQ(cards.Command(std::string("fault ") + card.name + " " + card.silenced + " silent"), "ok");

        std::string value;
        EXPECT_EQ(GetObject(card.adapter, kPrinterStatusOid, value), 0);
        EXPECT_EQ(value, "1," + std::to_string(card.status));
        EXPECT_EQ(ReadStoreNumber(entry, "pProtocol"), card.after);
        EXPECT_EQ(ReadStoreNumber(entry, "cProtocols"), card.protocols) << "the protocols it has stay";

        value.clear();
        EXPECT_EQ(GetObject(card.adapter, kPrinterStatusOid, value), 0) << "the next get starts there";
        EXPECT_EQ(value, "1," + std::to_string(card.status));
    }
}

}  // namespace
}  // namespace consoletest
