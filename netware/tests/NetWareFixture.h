#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "netware/Tessik.h"
#include "netware/tests/NetWareCard.h"
#include "platform/netware/NetWareClient.h"
#include "simulator/Simulator.h"
#include "simulator/netware/NetWareNetwork.h"

namespace nwtest {

// A NetWare network: bindery servers FS1 (in tree ACME, user ADMIN) and FS2 (bindery only, user
// GUEST), and the tree ACME:
//   [Root]: ORG (ENG, SALES), TOPQ;  ORG: ADMIN, SYS;  ENG.ORG: Q1..Q5, PS1
// whose current context is ENG.ORG; listings take two names per pass.
inline const char* const kNetWareSeed[] = {"server FS1 ACME",
                                           "server FS2",
                                           "user FS1 ADMIN secret",
                                           "user FS2 GUEST pw",
                                           "queue FS1 Q1",
                                           "queue FS1 Q2",
                                           "print-server FS1 PS1",
                                           "printer FS1 PS1 P0",
                                           "tree ACME",
                                           "object ACME container ORG",
                                           "object ACME container ENG.ORG",
                                           "object ACME container SALES.ORG",
                                           "object ACME user ADMIN.ORG secret",
                                           "object ACME volume SYS.ORG",
                                           "object ACME queue TOPQ",
                                           "object ACME queue Q1.ENG.ORG",
                                           "object ACME queue Q2.ENG.ORG",
                                           "object ACME queue Q3.ENG.ORG",
                                           "object ACME queue Q4.ENG.ORG",
                                           "object ACME queue Q5.ENG.ORG",
                                           "object ACME print-server PS1.ENG.ORG",
                                           "context ACME ENG.ORG",
                                           "pass 2"};

// The client lives as long as the process: its connections go with each test's network.
inline void CloseConnections() {
    for (const char* server : {"FS1", "FS2"}) {
        plat::NwConnection connection = 0;
        while (plat::NwConnectionByName(server, connection) == plat::kNwSuccess) {
            plat::NwCloseConnection(connection);
        }
    }
}

}  // namespace nwtest

// A print server card entered in the device store and the NetWare network of nwtest::kNetWareSeed.
class NetWareFixture : public ::testing::Test {
  public:
    static constexpr const char* kAdapter = nwtest::kAdapter;

  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(nwtest::StartCard(cards));
        std::string error;
        ASSERT_TRUE(network.Start(error)) << error;
        for (const char* line : nwtest::kNetWareSeed) {
            ASSERT_EQ(network.Control(line), "ok") << line;
        }
    }

    void TearDown() override { nwtest::CloseConnections(); }

    void Seed(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            ASSERT_EQ(network.Control(line), "ok") << line;
        }
    }

    // The objects of a server or tree, as the control channel shows them.
    std::string Show(const std::string& name) { return network.Control("show " + name); }

    void LogInToBindery() {
        char server[] = "FS1", user[] = "ADMIN", password[] = "secret";
        ASSERT_EQ(NwBiLogin(server, user, password), kNwOk);
    }
    void LogInToTree() {
        char tree[] = "ACME";
        ASSERT_EQ(NwNdsLogin(tree, "ADMIN", "ORG", "secret"), kNwOk);
    }

    // The card's service table as NwSNMPInit lists it.
    std::string CardRows(std::uint32_t* rows = nullptr) {
        char list[1024];
        std::uint32_t length = sizeof list - 1;
        std::uint32_t count = 0;
        EXPECT_EQ(NwSNMPInit(kAdapter, list, &length, &count), kNwOk);
        if (rows != nullptr) {
            *rows = count;
        }
        return std::string(list, length);
    }

    sim::Simulator cards;
    sim::NetWareNetwork network;
};

// A list export's text, count and result.
struct Listed {
    NwResult result;
    std::string text;
    std::int32_t count;
};
