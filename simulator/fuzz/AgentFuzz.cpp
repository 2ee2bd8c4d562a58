// Gives a datagram to a card's agent, as the simulator does with each request it receives. One card
// takes every input, as a card of the simulator takes every request: its sets stay, and building
// a card for each input would be most of the time spent.
#include "simulator/SnmpAgent.h"

namespace {

sim::Card& FuzzCard() {
    static sim::Card card([] {
        sim::CardDescription description;
        description.name = "PS-Fuzz";
        description.mac = {0x00, 0xC0, 0xDE, 0x00, 0x00, 0x01};
        description.ip = {127, 0, 3, 1};
        return description;
    }());
    return card;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sim::Peer from;
    from.protocol = sim::Protocol::Ip;
    from.address = {127, 0, 0, 1};
    from.port = 40000;
    sim::AnswerRequest(FuzzCard(), {data, size}, from);
    return 0;
}
