#pragma once

// The real console, headless, with its commands wired as the program wires them, against simulated
// print servers in the test network; dialogs are answered by the test as they open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardItemModel>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <string>

#include "console/CommandWiring.h"
#include "console/core/PrinterList.h"
#include "console/tests/ConsoleFixture.h"

namespace consoletest {

// Runs `act` on the next dialog of the type that opens; the command that opened it waits in it.
// `act` ends the dialog (OK or Cancel) as a person would. A dialog that never opens leaves the
// poll to the application's end.
template <typename Dialog>
void OnDialog(std::function<void(Dialog&)> act) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<Dialog*>(widget);
            if (dialog != nullptr && dialog->isVisible()) {
                poll->stop();
                poll->deleteLater();
                act(*dialog);
                return;
            }
        }
    });
    poll->start();
}

class CommandsFixture : public ConsoleFixture {
  protected:
    void SetUp() override {
        ConsoleFixture::SetUp();
        console::WireCommands();
    }

    QStandardItemModel* Model() const { return console_->List()->Model(); }
    // The texts of one section of the list, row by row.
    QStringList Column(int section) const {
        QStringList texts;
        for (int row = 0; row < Model()->rowCount(); ++row) {
            texts << Model()->item(row, section)->text();
        }
        return texts;
    }

    // The card's own name (sysName) changed behind the simulator's back: two cards may share one.
    void Rename(const std::string& card, const std::string& name) {
        ASSERT_EQ(cards_.Command("put " + card + " 1.3.6.1.2.1.1.5.0 text " + name), "ok");
    }
    // The row of the hardware address chosen in the list, as a click chooses it.
    void Select(const QString& mac) {
        console_->List()->SelectMac(mac);
        emit console_->List()->ItemClicked();
    }
    // The command from its menu item.
    void FromMenu(const char* name) { console_->Action(name)->trigger(); }
    // The command from its tool bar button.
    void FromToolBar(const char* name) {
        auto* bar = console_->findChild<QToolBar*>("picMenuBar");
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(console_->Action(name)));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }

    // The command from its short-cut key, pressed in the main window.
    void FromKey(Qt::Key key) {
        console_->activateWindow();
        QApplication::setActiveWindow(console_.get());
        QTest::keyClick(console_.get(), key);
    }
};

}  // namespace consoletest
