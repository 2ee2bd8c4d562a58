#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "console/core/ConsoleState.h"
#include "console/core/NewLook.h"
#include "console/core/QueuePump.h"
#include "console/tests/ConsoleFixture.h"
#include "console/tests/MessageRecorder.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "tests/QuickExchanges.h"
#include "tests/SimulatorProcess.h"

namespace console {

inline const std::string kPrivate = "1.3.6.1.4.1.32473.11.5.1.";

inline void SavePicture(QWidget* form, const QString& name) {
    QDir().mkpath(CONSOLE_PICTURES_DIR);
    form->grab().save(QString(CONSOLE_PICTURES_DIR) + "/" + name + ".png");
}

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
class ConfigurationFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(data_.isValid());
        qputenv("XDG_DATA_HOME", data_.path().toUtf8());
        ASSERT_TRUE(StoreQuickExchangeSettings());
        State() = ConsoleState();
    }
    void TearDown() override { consoletest::EndConsoleTest(console_, cards_); }

    void OpenConsole(const std::string& description) {
        std::string error;
        ASSERT_TRUE(cards_.Start(description, error)) << error;
        console_ = std::make_unique<NewLook>();
        ASSERT_TRUE(console_->Form_Load());
        console_->show();
        console_->FirstDetection();
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

    QueuePump pump_;
    QTemporaryDir data_;
    consoletest::MessageRecorder boxes_;
    consoletest::SimulatorProcess cards_;
    std::unique_ptr<NewLook> console_;
};

}  // namespace console
