#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "console/core/ConsoleState.h"
#include "console/tests/ConsoleFixture.h"

namespace console {

inline const std::string kPrivate = "1.3.6.1.4.1.32473.11.5.1.";

using consoletest::SavePicture;

// Runs `act` on the next modal dialog of type Dialog once it is up (and fails the test when none
// comes), so that a test can answer a dialog that a command opens and waits for.
template <typename Dialog>
void WhenModal(std::function<void(Dialog*)> act) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, act, tries] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget()); dialog != nullptr) {
            poll->stop();
            poll->deleteLater();
            act(dialog);
        } else if (++*tries > 400) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "no " << Dialog::staticMetaObject.className() << " came up";
        }
    });
    poll->start(25);
}

// The real console offscreen on simulated cards: start-up and the first detection, then the
// configuration dialogs on the row of a chosen card.
class ConfigurationFixture : public consoletest::ConsoleFixture {
  protected:
    void OpenConsole(const std::string& description) {
        ASSERT_NO_FATAL_FAILURE(StartCards(description));
        ConsoleFixture::OpenConsole();
    }
    // Makes the card's row current, as a click on it does.
    void Select(const QString& mac) {
        std::vector<PrinterRow>& rows = State().rows;
        for (std::size_t row = 0; row < rows.size(); ++row) {
            if (SameMac(rows[row].mac, mac)) {
                State().currentRow = static_cast<int>(row);
                return;
            }
        }
        ADD_FAILURE() << "no row for " << mac.toStdString();
    }
    // What the card's object holds: the reply of the simulator's "get" after its "ok ".
    std::string Read(const std::string& card, const std::string& oid) {
        const std::string reply = cards_.Command("get " + card + " " + oid);
        return reply.rfind("ok ", 0) == 0 ? reply.substr(3) : reply;
    }
};

}  // namespace console
