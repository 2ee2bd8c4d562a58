#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "simulator/Simulator.h"
#include "simulator/SnmpAgent.h"
#include "simulator/tests/SnmpTestMessages.h"

namespace sim::test {

inline const std::string E = "1.3.6.1.4.1.32473.11.5.1";

// The objects of the discovery get.
inline const std::string HardwareOid = "1.3.6.1.2.1.2.2.1.6.2";
inline const std::string AddressOid = E + ".12.2.5.0";
inline const std::string CategoryOid = E + ".12.6.1.6.0";

// Columns of a trap registration row by id, with their values.
using Columns = std::vector<std::pair<int, MibValue>>;

inline std::string RegistrationCell(int column, const std::string& row) {
    return E + ".12.6.2.4.1." + std::to_string(column) + "." + row;
}

// A console's registration as the three sets it sends: create the row, write its columns, make
// it valid.
inline std::vector<Pairs> RegistrationSets(const std::string& row, const Columns& columns) {
    Pairs cells;
    for (const auto& [column, value] : columns) {
        cells.emplace_back(RegistrationCell(column, row), value);
    }
    return {{{RegistrationCell(7, row), MibValue::Integer(2)}},
            cells,
            {{RegistrationCell(7, row), MibValue::Integer(1)}}};
}

inline CardDescription SampleCard() {
    CardDescription card;
    card.name = "PS-Lobby";
    card.location = "Lobby";
    card.mac = {0x00, 0xC0, 0xDE, 0x12, 0x34, 0x56};
    card.ip = {127, 0, 3, 7};
    card.ipxNetwork = {0x00, 0xFA, 0xCA, 0xDE};
    card.engine = EngineType::Office;
    return card;
}

inline Peer UdpPeer(uint8_t last = 1, uint16_t port = 40000) {
    Peer peer;
    peer.protocol = Protocol::Ip;
    peer.address = {127, 0, 0, last};
    peer.port = port;
    return peer;
}

inline Peer DlcPeer() {
    Peer peer;
    peer.protocol = Protocol::Dlc;
    peer.address = {0x02, 0x00, 0x00, 0x00, 0x00, 0x99};
    peer.port = 14;
    return peer;
}

// A card and the exchanges a console has with it, without a network.
class CardFixture : public ::testing::Test {
  protected:
    std::optional<Answer> Exchange(const std::vector<uint8_t>& request, const Peer& from = UdpPeer()) {
        std::optional<Outgoing> out = AnswerRequest(*card, request, from);
        lastDelay = out ? out->delayMs : 0;
        if (!out) {
            return std::nullopt;
        }
        EXPECT_EQ(out->to, from);
        std::optional<Answer> answer = DecodeAnswer(out->bytes);
        EXPECT_TRUE(answer.has_value()) << "an answer that does not decode";
        return answer;
    }
    std::optional<Answer> Get(const std::vector<std::string>& oids, int32_t id = 7) {
        return Exchange(EncodeGet(id, oids));
    }
    std::optional<Answer> Set(const Pairs& bindings, const Peer& from = UdpPeer()) {
        return Exchange(EncodeRequest(kPduSet, 9, bindings), from);
    }

    std::unique_ptr<Card> card = std::make_unique<Card>(SampleCard());
    uint32_t lastDelay = 0;
};

// Starts a simulator holding `count` cards described by `describe`; the suites of many cards share one.
inline void StartCards(std::unique_ptr<Simulator>& simulator, size_t count,
                       CardDescription (*describe)(size_t)) {
    simulator = std::make_unique<Simulator>();
    for (size_t i = 0; i < count; ++i) {
        simulator->AddCard(describe(i));
    }
    std::string error;
    ASSERT_TRUE(simulator->Start(error)) << error;
}

}  // namespace sim::test
