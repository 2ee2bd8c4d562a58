#pragma once

// Four simulated cards, one of each engine type, in the device store and the console's rows, with
// message boxes and the dialogs' pauses answered by the test.
#include <gtest/gtest.h>

#include <QDir>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "console/core/ConsoleState.h"
#include "console/properties/frmProperties.h"
#include "console/tests/MessageRecorder.h"
#include "simulator/Simulator.h"
#include "snmp/tests/DeviceStoreEntry.h"

namespace consoletest {

inline const std::string E = "1.3.6.1.4.1.32473.11.5.1";

enum Card : int { kOffice, kCompact, kExternal, kCustomPaper, kCardCount };

struct CardSpec {
    const char* name;
    const char* mac;
    sim::EngineType engine;
};

inline constexpr CardSpec kCards[kCardCount] = {
    {"PS-Office", "00C0DE100001", sim::EngineType::Office},
    {"PS-Compact", "00C0DE100002", sim::EngineType::Compact},
    {"PS-External", "00C0DE100003", sim::EngineType::External},
    {"PS-7171", "00C0DE100004", sim::EngineType::Model7171},
};

class CardsFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        snmp::test::WriteExchangeSettings(1, 1);
        console::ConsoleState& state = console::State();
        state.servers.clear();
        state.rows.clear();
        state.productTitle = "Quillmar";
        for (int i = 0; i < kCardCount; ++i) {
            sim::CardDescription card;
            card.name = kCards[i].name;
            card.location = std::string("Floor ") + std::to_string(i + 1);
            for (int b = 0; b < 6; ++b) {
                card.mac[b] =
                    static_cast<uint8_t>(std::stoi(std::string(kCards[i].mac).substr(b * 2, 2), nullptr, 16));
            }
            card.ip = {127, 0, 6, static_cast<uint8_t>(i + 1)};
            card.engine = kCards[i].engine;
            card.ipxNetwork = {0x00, 0xFA, 0xCA, 0xDE};
            card.protocols = 2;
            cards.AddCard(card);
            const std::string ip = "127.0.6." + std::to_string(i + 1);
            snmp::test::WriteDeviceEntry({kCards[i].mac, ip, "", 2, 2});
            console::PrintServerEntry entry;
            entry.mac = kCards[i].mac;
            entry.name = QString("Stored name %1").arg(i);
            entry.description = "Stored description";
            entry.ip = QString::fromStdString(ip);
            entry.category = 2;
            state.servers.push_back(entry);
            console::PrinterRow row;
            row.name = kCards[i].name;
            row.description = "Stored description";
            row.mac = kCards[i].mac;
            row.ip = entry.ip;
            row.category = 2;
            state.rows.push_back(row);
        }
        std::string error;
        ASSERT_TRUE(cards.Start(error)) << error;
        console::frmProperties::SetPauseHook([this](int ms) { pauses.push_back(ms); });
    }
    void TearDown() override { console::frmProperties::SetPauseHook({}); }

    void Select(Card card) { console::State().currentRow = card; }

    // What the card holds now, as the control channel's get shows it: "INTEGER 3", "STRING "x"".
    std::string CardValue(Card card, const std::string& oid) {
        std::optional<sim::MibValue> value;
        cards.Inspect(card, [&](sim::Card& target) { value = target.Objects().Get(*sim::Oid::Parse(oid)); });
        if (!value) {
            return "none";
        }
        return value->type == sim::ValueType::OctetString ? value->bytes : std::to_string(value->number);
    }
    void PutCardValue(Card card, const std::string& oid, sim::MibValue value) {
        cards.Inspect(card, [&](sim::Card& target) { target.Objects().Put(*sim::Oid::Parse(oid), value); });
    }

    // A picture of the form as a person sees it, in the build folder's pictures.
    static void SavePicture(QWidget* form, const QString& name) {
        QDir().mkpath(PICTURE_DIR);
        form->show();
        form->adjustSize();
        ASSERT_TRUE(form->grab().save(QString(PICTURE_DIR) + "/" + name + ".png")) << name.toStdString();
    }

    sim::Simulator cards;
    MessageRecorder boxes;
    std::vector<int> pauses;
};

}  // namespace consoletest
