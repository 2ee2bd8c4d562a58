#include <gtest/gtest.h>

#include "platform/netware/NetWareClient.h"
#include "simulator/ControlCommands.h"
#include "simulator/Simulator.h"
// The program's network stays up for the whole process: a program of its own.

namespace {

using namespace plat;

TEST(HostedNetWareTest, TheProgramsControlChannelReachesItsNetWareNetwork) {
    sim::Simulator cards;
    bool quit = false;
    EXPECT_EQ(sim::RunControlCommand(cards, "netware server HOSTED", quit), "ok");
    EXPECT_EQ(sim::RunControlCommand(cards, "netware queue HOSTED \"MY Q\"", quit), "ok");
    EXPECT_EQ(sim::RunControlCommand(cards, "netware show HOSTED", quit), "queue MY Q\nok 1 objects");
    NwConnection connection = 0;
    ASSERT_EQ(NwOpenConnection("hosted", connection), kNwSuccess) << "the hosted network answers on the LAN";
    NwCloseConnection(connection);
    EXPECT_FALSE(quit);
}

}  // namespace
