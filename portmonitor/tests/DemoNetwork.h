#pragma once

// The demo's network as scripts/demo-network.txt describes it (the program that compiles this names
// the file DEMO_NETWORK), for the pictures that the help shows: the print servers, names and
// addresses an administrator sees there, never a test's fixtures.
#include <gtest/gtest.h>

#include <QFile>
#include <QString>

#include <optional>
#include <string>

#include "simulator/DescriptionFile.h"

namespace portmon::test {

// The file's text.
inline std::string DemoNetworkText() {
    QFile file(DEMO_NETWORK);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << DEMO_NETWORK;
    return file.readAll().toStdString();
}

// The file's cards and NetWare lines; empty (and a failure of the test) when it does not parse.
inline sim::NetworkDescription DemoNetwork() {
    std::string error;
    std::optional<sim::NetworkDescription> network = sim::ParseDescription(DemoNetworkText(), error);
    EXPECT_TRUE(network) << error;
    return network.value_or(sim::NetworkDescription{});
}

// The network's card of that name.
inline const sim::CardDescription& DemoCard(const sim::NetworkDescription& network, const std::string& name) {
    for (const sim::CardDescription& card : network.cards) {
        if (card.name == name) {
            return card;
        }
    }
    ADD_FAILURE() << name << " is no card of the demo's network";
    static const sim::CardDescription none;
    return none;
}

// The addresses as the dialogs show them: 00C0DE000001, 127.0.1.1.
inline QString MacText(const sim::Mac& mac) {
    return QByteArray(reinterpret_cast<const char*>(mac.data()), static_cast<qsizetype>(mac.size()))
        .toHex()
        .toUpper();
}
inline QString IpText(const sim::Ipv4& ip) {
    return QString("%1.%2.%3.%4").arg(ip[0]).arg(ip[1]).arg(ip[2]).arg(ip[3]);
}

}  // namespace portmon::test
