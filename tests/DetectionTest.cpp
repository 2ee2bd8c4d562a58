// The console's Refresh command against cards of every kind: the detection with its progress
// notices, then, as the detection dialog goes on, each card's status read and this PC registered for
// its traps; a status change of each card reaches the main window's box; the keep-alive timer's call
// reaches each card.
#include <algorithm>
#include <vector>

#include "tests/ConsoleExports.h"
#include "tests/ConsoleStore.h"
#include "tests/ConsoleTest.h"
#include "tests/EventLoop.h"

namespace consoletest {
namespace {

using DetectionTest = ConsoleTest;

// MIB-II snmpInGetRequests: the gets a card's agent has taken.
constexpr const char* kGetsTakenOid = "1.3.6.1.2.1.11.15.0";
// A trap or a count from the simulator's process: a bound for a loaded machine.
constexpr std::uint32_t kAcrossMs = 60000;

struct Card {
    const char* name;
    const char* adapter;
    const char* ip;
    const char* speaks;       // the description's protocols
    std::uint32_t protocols;  // "cProtocols" expected
    std::uint32_t preferred;  // "pProtocol" expected
    int status;               // the printer status the card starts with
    const char* trapSender;   // protocol bit and sender of its notice lines
};

const Card kCards[] = {
    {"OnlyIp", "00005E200001", "127.0.2.1", "ip", 2, 2, 3, "2,127.0.2.1"},
    {"OnlyIpx", "00005E200002", "0.0.0.0", "ipx", 1, 1, 4, "1,00FACADE00005E200002"},
    {"OnlyDlc", "00005E200003", "127.0.2.3", "dlc", 4, 4, 1, "4,00005E200003"},
    {"Every", "00005E200004", "127.0.2.4", "all", 7, 4, 0, "4,00005E200004"},
};

std::string Description() {
    std::string text;
    for (const Card& card : kCards) {
        text += CardLine(card.name, card.adapter, card.ip, card.speaks, card.status);
    }
    return text;
}

TEST_F(DetectionTest, EveryCardIsFoundReadRegisteredAndHeardOverItsOwnProtocol) {
    StartCards(Description());
    std::string options;
    ASSERT_EQ(StartUp(options), 0);

    TextBox progress;  // the detection dialog's hidden box
    ASSERT_EQ(halbrin::HelperDetectPrintServers(0, 0, 0, 0, 0, progress.Handle()), 0);
    const std::vector<std::string>& notices = progress.Lines();
    ASSERT_GE(notices.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(notices.begin(), notices.begin() + 4),
              (std::vector<std::string>{"2", "1", "7", "3"}))
        << "IPX, UDP, DLC and SAP requests sent, in this order";
    EXPECT_TRUE(
        std::all_of(notices.begin() + 4, notices.end() - 1, [](const std::string& n) { return n == "4"; }));
    EXPECT_EQ(notices.back(), "54");

    std::vector<std::string> adapters;
    for (const Card& card : kCards) {
        adapters.emplace_back(card.adapter);
    }
    EXPECT_EQ(SubkeyNames(plat::kAdapterOnlyKey), adapters);
    for (const Card& card : kCards) {
        SCOPED_TRACE(card.name);
        const std::string entry = DeviceEntryKey(card.adapter);
        EXPECT_EQ(ReadStoreText(entry, "MAC Address"), card.adapter);
        EXPECT_EQ(ReadStoreText(entry, "Print Server Name"), card.name);
        EXPECT_EQ(ReadStoreText(entry, "IP Address"), card.ip);
        EXPECT_EQ(ReadStoreNumber(entry, "cProtocols"), card.protocols);
        EXPECT_EQ(ReadStoreNumber(entry, "pProtocol"), card.preferred);
        EXPECT_EQ(ReadStoreNumber(entry, "Category"), 2u);
        EXPECT_EQ(ReadStoreNumber(entry, "Detected"), 1u);
    }

    // The dialog's status poll: each card's printer status, then this PC as its trap receiver.
    for (const Card& card : kCards) {
        SCOPED_TRACE(card.name);
        std::string value;
        EXPECT_EQ(GetObject(card.adapter, kPrinterStatusOid, value), 0);
        EXPECT_EQ(value, "1," + std::to_string(card.status));
        EXPECT_EQ(
            vantorel::HelperSNMPRegisterTrapDestination(1, card.adapter, card.preferred, card.preferred), 0);
    }

    for (std::size_t i = 0; i < std::size(kCards); ++i) {
        const Card& card = kCards[i];
        SCOPED_TRACE(card.name);
        const std::string code = std::to_string(68 + i);
        mainWindowBox.Clear();
        ASSERT_EQ(cards.Command(std::string("status ") + card.name + " " + code), "ok");
        ASSERT_TRUE(mainWindowBox.WaitForLines(1, kAcrossMs));
        EXPECT_EQ(mainWindowBox.Lines(), std::vector<std::string>{card.trapSender + ("," + code)});
    }

    // The keep-alive timer: one get to each card, not waited for.
    for (const Card& card : kCards) {
        SCOPED_TRACE(card.name);
        const std::int64_t before = cards.Number(card.name, kGetsTakenOid);
        ASSERT_GE(before, 0);
        EXPECT_EQ(vantorel::HelperTrapKeepAlive(card.adapter), 0);
        EXPECT_TRUE(
            RunEventsUntil([&] { return cards.Number(card.name, kGetsTakenOid) == before + 1; }, kAcrossMs))
            << cards.Number(card.name, kGetsTakenOid) << " gets after " << before;
    }
}

// The cards whose status the timer below changes, and what it sends their control channel.
SimulatorProcess* gTimedCards = nullptr;
std::string gTimedCommand;

void ChangeStatusDuringDetection(plat::WindowHandle, std::uint32_t, std::uintptr_t timerId, std::uint32_t) {
    plat::KillTimer(0, timerId);
    EXPECT_EQ(gTimedCards->Command(gTimedCommand), "ok");
}

// The trap listeners are served while a detection pumps messages: a status change in the middle of a
// Refresh reaches the main window's box before the detection returns.
TEST_F(DetectionTest, AStatusChangeDuringARefreshReachesTheMainWindowBoxMeanwhile) {
    // DLC alone, so that its trap comes by the DLC listener, whose receive thread posts to its window.
    StartCards("card Busy mac=00005E200011 ip=0.0.0.0 ipx-network=00000000 protocols=dlc\n");
    std::string options;
    ASSERT_EQ(StartUp(options), 0);
    ASSERT_EQ(halbrin::HelperValidateAdapter("00005E200011", 4), 0);
    ASSERT_EQ(vantorel::HelperSNMPRegisterTrapDestination(1, "00005E200011", 0, 0), 0);

    gTimedCards = &cards;
    gTimedCommand = "status Busy 1025";
    const std::uintptr_t timer = plat::SetTimer(0, 0, 300, ChangeStatusDuringDetection);
    ASSERT_NE(timer, 0u);
    TextBox progress;
    const std::int32_t detected = halbrin::HelperDetectPrintServers(0, 0, 0, 0, 0, progress.Handle());
    plat::KillTimer(0, timer);  // in case it never came: it must not outlive these cards
    ASSERT_EQ(detected, 0);
    ASSERT_FALSE(progress.Lines().empty());
    EXPECT_EQ(progress.Lines().back(), "51");
    EXPECT_EQ(mainWindowBox.Lines(), std::vector<std::string>{"4,00005E200011,1025"});
}

}  // namespace
}  // namespace consoletest
