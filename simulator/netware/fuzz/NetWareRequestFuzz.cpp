// Gives a datagram to the simulated NetWare network, as its station does with each one it receives.
// One network takes every input, seeded once with a server and a tree: what a call creates stays, as
// it would on the network. The first clients are logged in to the tree as its supervisor, so that
// their changes are carried out and not refused for want of a right.
#include "simulator/netware/NetWareNetwork.h"

namespace {

constexpr std::uint32_t kLoggedInClients = 8;

sim::NetWareNetwork& FuzzNetwork() {
    static sim::NetWareNetwork* network = [] {
        auto* made = new sim::NetWareNetwork;
        for (const char* line :
             {"server FS1 ACME", "user FS1 ADMIN pw", "queue FS1 Q1", "print-server FS1 PS1",
              "printer FS1 PS1 P1", "tree ACME", "object ACME container ORG", "object ACME user ADMIN.ORG pw",
              "object ACME volume SYS.ORG", "object ACME queue Q1.ORG", "object ACME print-server PS1.ORG",
              "object ACME printer P1.ORG", "context ACME ORG", "pass 2"}) {
            made->Control(line);
        }
        // Request 0, before any of the inputs' (a client numbers its requests upwards).
        for (std::uint32_t session = 1; session <= kLoggedInClients; ++session) {
            made->Handle({false, session, 0, 0, {"directory-login", "ACME", "ORG", "ADMIN", "pw"}});
        }
        return made;
    }();
    return *network;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzNetwork().Answer({data, size});
    return 0;
}
