#pragma once

// The real console, headless, against simulated print servers in the test network: each test
// starts with a store of short exchange waits and ends with nothing of it left behind.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>
#include <string>

#include "console/core/ConsoleState.h"
#include "console/core/NewLook.h"
#include "console/core/QueuePump.h"
#include "console/tests/MessageRecorder.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "tests/QuickExchanges.h"
#include "tests/SimulatorProcess.h"

namespace consoletest {

// A picture of the form in the build folder, so that anyone can look at what a person sees.
inline void SavePicture(QWidget* form, const QString& name) {
    QDir().mkpath(PICTURE_DIR);
    form->grab().save(QString(PICTURE_DIR) + "/" + name + ".png");
}

inline void CloseConsole(std::unique_ptr<console::NewLook>& console) {
    if (console != nullptr) {
        console->close();
        console.reset();
    }
}

// What a console test leaves is cleared: the console closed with the objects it deleted later, the
// cards stopped, the keys the console wrote removed.
inline void EndConsoleTest(std::unique_ptr<console::NewLook>& console, SimulatorProcess& cards) {
    CloseConsole(console);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    cards.Stop();
    plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kAdapterOnlyKey);
    plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kDisplayKey);
}

class ConsoleFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(data_.isValid());
        qputenv("XDG_DATA_HOME", data_.path().toUtf8());
        ASSERT_TRUE(StoreQuickExchangeSettings());
        console::State() = console::ConsoleState();
    }
    void TearDown() override { EndConsoleTest(console_, cards_); }

    void StartCards(const std::string& description) {
        std::string error;
        ASSERT_TRUE(cards_.Start(description, error)) << error;
    }
    // Start-up and, unless told otherwise, the first detection, as the program runs them.
    void OpenConsole(bool detect = true) {
        console::State() = console::ConsoleState();
        console_ = std::make_unique<console::NewLook>();
        ASSERT_TRUE(console_->Form_Load());
        console_->show();
        if (detect) {
            console_->FirstDetection();
        }
    }
    void CloseConsole() { consoletest::CloseConsole(console_); }

    console::QueuePump pump_;
    QTemporaryDir data_;
    MessageRecorder boxes_;
    SimulatorProcess cards_;
    std::unique_ptr<console::NewLook> console_;
};

}  // namespace consoletest
