#include <gtest/gtest.h>

#include "simulator/CardOids.h"
#include "simulator/ControlCommands.h"
#include "simulator/tests/CardFixture.h"

namespace sim::test {
namespace {

class ControlCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        simulator.AddCard(SampleCard());
        CardDescription second = SampleCard();
        second.name = "PS-Back";
        second.mac[5] = 0x57;
        second.ip[3] = 8;
        simulator.AddCard(second);
    }

    std::string Run(std::string_view line) { return RunControlCommand(simulator, line, quit); }

    Simulator simulator;
    bool quit = false;
};

TEST_F(ControlCommandsTest, StatusAndGetNameCardsByNameHardwareAddressOrIndex) {
    EXPECT_EQ(Run("status PS-Back 68"), "ok");
    EXPECT_EQ(Run("get 00c0de123457 " + E + ".1.9.1.0"), "ok INTEGER 68");
    EXPECT_EQ(Run("status #0 513"), "ok");
    EXPECT_EQ(Run("get PS-Lobby " + E + ".1.9.1.0"), "ok INTEGER 513");
    EXPECT_EQ(Run("get #1 1.3.6.1.2.1.1.5.0"), "ok STRING \"PS-Back\"");
    EXPECT_EQ(Run("get #1 " + E + ".12.2.5.0"), "ok IP 127.0.3.8");
    EXPECT_EQ(Run("get #0 1.3.6.1.2.1.2.2.1.6.2"), "ok HEX 00C0DE123456") << "bytes that are no text";
    EXPECT_EQ(Run("firmware PS-Back"), "ok idle size 0 checksum 00000000");
}

TEST_F(ControlCommandsTest, PutChangesWhatTheCardItselfWouldChange) {
    EXPECT_EQ(Run("put PS-Back " + E + ".12.4.2.0 text \"alice on PC-7\""), "ok");
    EXPECT_EQ(Run("get PS-Back " + E + ".12.4.2.0"), "ok STRING \"alice on PC-7\"");
    EXPECT_EQ(Run("get PS-Lobby " + E + ".12.4.2.0"), "ok STRING \"\"") << "other cards untouched";
    EXPECT_EQ(Run("put #0 1.3.6.1.2.1.13.3.1.1.7.1 integer 7"), "ok");
    EXPECT_EQ(Run("get #0 1.3.6.1.2.1.13.3.1.1.7.1"), "ok INTEGER 7");
    const std::pair<std::string, const char*> refused[] = {
        {"put #0 " + E + ".12.4.2.0 integer 3", "error the object holds no integer"},
        {"put #0 1.3.6.1.2.1.13.3.1.1.7.1 text up", "error the object holds no text"},
        {"put #0 1.3.6.1.2.1.13.3.1.1.7.1 integer x", "error bad number"},
        {"put #0 1.3.6.1.2.1.2.2.1.10.2 integer 5", "error the object holds no integer"},
        {"put #0 1.3.6.1.2.1.1.3.0 integer 5", "error the object holds no integer"},
        {"put #0 1.3.9.9 integer 5", "error no such object"},
    };
    for (const auto& [line, reply] : refused) {
        EXPECT_EQ(Run(line).rfind(reply, 0), 0u) << line << " -> " << Run(line);
    }
}

TEST_F(ControlCommandsTest, FaultSwitchesAddUpPerProtocolAndClear) {
    EXPECT_EQ(Run("fault PS-Lobby ip silent"), "ok");
    EXPECT_EQ(Run("fault PS-Lobby ip delay 250"), "ok");
    EXPECT_EQ(Run("fault PS-Lobby all error 5"), "ok");
    EXPECT_EQ(Run("fault PS-Lobby dlc drop 40"), "ok");
    EXPECT_EQ(Run("fault PS-Lobby dlc set-error 2"), "ok");
    EXPECT_EQ(Run("fault PS-Lobby dlc next-error 3"), "ok");
    EXPECT_EQ(Run("fault PS-Lobby ipx wrong-id"), "ok");
    EXPECT_EQ(Run("fault PS-Lobby ipx truncate"), "ok");
    EXPECT_EQ(Run("fault PS-Lobby ipx garble on"), "ok");
    EXPECT_EQ(simulator.Faults(0, Protocol::Ip),
              (FaultSwitches{.silent = true, .delayMs = 250, .errorStatus = 5}));
    EXPECT_EQ(
        simulator.Faults(0, Protocol::Dlc),
        (FaultSwitches{.errorStatus = 5, .setErrorStatus = 2, .nextErrorStatus = 3, .dropPercent = 40}));
    EXPECT_EQ(simulator.Faults(0, Protocol::Ipx),
              (FaultSwitches{.wrongRequestId = true, .errorStatus = 5, .truncated = true, .garbled = true}));
    EXPECT_EQ(simulator.Faults(1, Protocol::Ip), FaultSwitches{}) << "other cards untouched";
    EXPECT_EQ(Run("fault PS-Lobby ip silent off"), "ok");
    EXPECT_FALSE(simulator.Faults(0, Protocol::Ip).silent);
    EXPECT_EQ(Run("fault PS-Lobby all clear"), "ok");
    EXPECT_EQ(simulator.Faults(0, Protocol::Ipx), FaultSwitches{});
}

TEST_F(ControlCommandsTest, RefusalsSayWhy) {
    const std::pair<const char*, const char*> cases[] = {
        {"status Nobody 1", "error unknown card"},
        {"status #2 1", "error bad number"},
        {"status PS-Lobby ready", "error bad number"},
        {"status PS-Lobby", "error usage: status"},
        {"fault PS-Lobby appletalk silent", "error unknown protocol"},
        {"fault PS-Lobby ip melt", "error unknown fault"},
        {"fault PS-Lobby ip error 6", "error bad number"},
        {"fault PS-Lobby ip drop 101", "error bad number"},
        {"fault PS-Lobby ip delay", "error delay needs a value"},
        {"fault PS-Lobby ip silent maybe", "error expected on or off"},
        {"get PS-Lobby 1.3.6.1.2.1.1.99.0", "error no such object"},
        {"get PS-Lobby one.two", "error bad object identifier"},
        {"upgrade PS-Lobby 1.2.3 fw.bin", "error bad server or file"},
        {"upgrade PS-Lobby 127.0.0.1", "error usage: upgrade"},
        {"firmware Nobody", "error unknown card"},
        {"reboot", "error unknown command"},
        {"", "error empty command"},
    };
    for (auto [line, reply] : cases) {
        EXPECT_EQ(Run(line).rfind(reply, 0), 0u) << line << " gave: " << Run(line);
    }
    EXPECT_FALSE(quit);
}

TEST_F(ControlCommandsTest, ListShowsEveryCardAndQuitEnds) {
    std::string list = Run("list");
    EXPECT_NE(list.find("#1 PS-Back 00C0DE123457 127.0.3.8 engine 1 status 0\n"), std::string::npos) << list;
    EXPECT_NE(list.find("ok 2 cards"), std::string::npos);
    EXPECT_EQ(Run("quit"), "ok");
    EXPECT_TRUE(quit);
}

}  // namespace
}  // namespace sim::test
