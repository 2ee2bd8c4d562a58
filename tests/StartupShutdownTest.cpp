// Start-up to shut-down as the console runs it twice: the display options it hands over at shut-down
// come back at the next start, each start opens the three trap listeners and each shut-down closes
// them and purges the device store.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "tests/ConsoleExports.h"
#include "tests/ConsoleStore.h"
#include "tests/ConsoleTest.h"

namespace consoletest {
namespace {

using StartupShutdownTest = ConsoleTest;

const std::string kKept = "00005E300001";

constexpr const char* kCards =
    "card Kept mac=00005E300001 ip=127.0.3.1\n"
    "card Dropped mac=00005E300002 ip=127.0.3.2\n";

// True when this program can bind UDP port 162 itself, that is when no trap listener holds it.
bool TrapPortFree() {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(162);
    const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return bound;
}

TEST_F(StartupShutdownTest, OptionsComeBackAtTheNextStartAndEveryListenerServesTheSecondRun) {
    char options[64];
    std::uint32_t size = sizeof options;
    ASSERT_EQ(halbrin::HelperInitialize(mainWindowBox.Handle(), options, &size), 0);
    EXPECT_STREQ(options, "1605,1035,7695,10650");
    EXPECT_EQ(size, std::strlen("1605,1035,7695,10650") + 1) << "bytes written with the terminator";
    EXPECT_FALSE(TrapPortFree()) << "the UDP trap listener holds port 162";

    ShutDown("2,0,1,4,1200,900");
    EXPECT_EQ(ReadStoreText(plat::kDisplayKey, "Options"), "2,0,1,4,1200,900");
    EXPECT_TRUE(TrapPortFree()) << "shut-down closes the UDP trap listener";

    std::string restored;
    ASSERT_EQ(StartUp(restored), 0);
    EXPECT_EQ(restored, "2,0,1,4,1200,900");

    // The console adds the cards by address: the first by its hardware address (over DLC, which
    // also learns its IP and IPX addresses), the second by its IP address.
    StartCards(kCards);
    ASSERT_EQ(halbrin::HelperValidateAdapter(kKept.c_str(), 4), 0);
    ASSERT_EQ(halbrin::HelperValidateAdapter("127.0.3.2", 2), 0);
    ASSERT_EQ(ReadStoreNumber(DeviceEntryKey(kKept), "cProtocols"), 7u);
    // One registration of this PC per protocol on the first card: a status change then sends a trap
    // over each, and each listener of this second run turns its trap into a line.
    for (std::uint32_t protocol : {2u, 1u, 4u}) {
        ASSERT_TRUE(WriteStoreNumber(DeviceEntryKey(kKept), "pProtocol", protocol));
        ASSERT_EQ(vantorel::HelperSNMPRegisterTrapDestination(1, kKept.c_str(), protocol, protocol), 0)
            << "over protocol " << protocol;
    }
    ASSERT_EQ(cards.Command("status Kept 68"), "ok");
    mainWindowBox.WaitForLines(3, 60000);  // the traps come from the simulator: a bound for a loaded machine
    std::vector<std::string> lines = mainWindowBox.Lines();
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"1,00FACADE" + kKept + ",68", "2,127.0.3.1,68",
                                               "4," + kKept + ",68"}));

    // A port uses the first card (its port raised "Category" by 4): shut-down keeps its entry without
    // the discovery marks and deletes the other.
    const std::optional<std::uint32_t> category = ReadStoreNumber(DeviceEntryKey(kKept), "Category");
    ASSERT_EQ(category, 2u);
    ASSERT_TRUE(WriteStoreNumber(DeviceEntryKey(kKept), "Category", *category + 4));
    ShutDown("x");
    EXPECT_EQ(SubkeyNames(plat::kAdapterOnlyKey), std::vector<std::string>{kKept});
    EXPECT_EQ(ReadStoreNumber(DeviceEntryKey(kKept), "Category"), 4u);
    EXPECT_EQ(ReadStoreNumber(DeviceEntryKey(kKept), "Detected"), 0u);
    EXPECT_TRUE(TrapPortFree());

    mainWindowBox.Clear();
    ASSERT_EQ(cards.Command("status Kept 69"), "ok");
    EXPECT_FALSE(mainWindowBox.WaitForLines(1, 1000)) << "no listener is left: " << mainWindowBox.Lines()[0];
}

}  // namespace
}  // namespace consoletest
