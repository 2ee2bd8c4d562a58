// After Add Port the console goes on following its print servers: their rows take each status the
// cards announce and the alerts chosen in Setting > Alerts still come, whichever protocol carries
// the traps. The command is the first in this process to load the port monitor's library (a test
// program of its own, console_follow_test), which opens the DLC adapter once more after the trap
// listeners were opened, as the console meets it in use.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "console/core/dialogs/frmNotify.h"
#include "console/tests/CommandsFixture.h"
#include "portmonitor/tests/PrivateCupsd.h"

namespace consoletest {
namespace {

using portmon::test::PrivateCupsd;

// Each card changes its status every second (printing, ready, cover open, ready, load tray, ready):
// Lobby speaks every protocol, as the demo's does; each other card one of them.
constexpr const char* kCards =
    "card Lobby mac=00005E5A0001 ip=127.0.40.1 status-every=1\n"
    "card Hall mac=00005E5A0002 ip=127.0.40.2 protocols=ip status-every=1\n"
    "card Cellar mac=00005E5A0003 ip=127.0.40.3 protocols=ipx status-every=1\n"
    "card Attic mac=00005E5A0004 ip=127.0.40.4 protocols=dlc status-every=1\n";
const QStringList kNames = {"Lobby", "Hall", "Cellar", "Attic"};
const QStringList kAlerted = {"COVER OPEN", "PRINTING"};
constexpr int kRoundsMs = 60000;  // ten rounds of every card's statuses

// The port monitor's Add Port dialog while it is on the screen.
QDialog* PortDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog != nullptr && dialog->isVisible() && dialog->windowTitle() == "Add Port" &&
            dialog->findChild<QTreeWidget*>() != nullptr) {
            return dialog;
        }
    }
    return nullptr;
}

class FollowAfterAddPortTest : public CommandsFixture {
  protected:
    void SetUp() override {
        CommandsFixture::SetUp();
        std::string error;
        ASSERT_TRUE(cupsd_.Start(VORLANE_BACKEND, error)) << error;
    }

    QString StatusOf(const QString& name) const {
        const QList<QStandardItem*> found = Model()->findItems(name);
        return found.isEmpty() ? QString() : Model()->item(found.front()->row(), 2)->text();
    }

    // Every alert box's text, and whether the row of its printer showed the alert's status then.
    void RecordAlerts() {
        console::SetMessageHook([this](const console::MessageShown& shown) {
            const QStringList parts = shown.text.split(" : ");
            if (parts.size() == 2) {
                alerts_.insert(shown.text);
                rowsBehind_ += StatusOf(parts[0]) == parts[1] ? 0 : 1;
            }
            return int{console::kOk};
        });
    }

    // The alerts not yet seen of every card and status chosen.
    QStringList Missing() const {
        QStringList missing;
        for (const QString& name : kNames) {
            for (const QString& status : kAlerted) {
                if (!alerts_.contains(name + " : " + status)) {
                    missing << name + " : " + status;
                }
            }
        }
        return missing;
    }

    // Printers > Add Port: once the dialog's detection has listed the card, its row and OK. A dialog that
    // has not listed it in time is cancelled, so that the command ends; false then.
    bool AddPortFromMenu(const QString& card) {
        bool chosen = false;
        QElapsedTimer waiting;
        waiting.start();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            QDialog* dialog = PortDialog();
            if (dialog == nullptr) {
                return;
            }
            QTreeWidget* list = dialog->findChild<QTreeWidget*>();
            const QList<QTreeWidgetItem*> found = list->findItems(card, Qt::MatchExactly);
            if (found.isEmpty() && waiting.elapsed() < kRoundsMs) {
                return;
            }
            watch.stop();
            if (found.isEmpty()) {
                dialog->reject();
                return;
            }
            chosen = true;
            list->setCurrentItem(found.front());
            for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                if (button->text() == "OK") {
                    button->click();
                }
            }
        });
        watch.start(20);
        FromMenu("mnuCreatePort");
        return chosen;
    }

    PrivateCupsd cupsd_;
    QSet<QString> alerts_;
    int rowsBehind_ = 0;
};

TEST_F(FollowAfterAddPortTest, RowsAndAlertsFollowTheCardsAfterAddPort) {
    StartCards(kCards);
    OpenConsole();
    ASSERT_EQ(Model()->rowCount(), kNames.size());
    OnDialog<console::frmNotify>([](console::frmNotify& dialog) {
        dialog.AvailablePrinters()->selectAll();
        dialog.pbuAdd_Click();
        for (const QString& status : kAlerted) {
            dialog.AvailableAlerts()->findItems(status, Qt::MatchExactly).value(0)->setSelected(true);
        }
        dialog.pbuAddevents_Click();
        dialog.AlertsOn()->setChecked(true);
        dialog.Popup()->setChecked(true);
        dialog.pbuOK_Click();
    });
    FromMenu("mnuNotify");
    RecordAlerts();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Missing().isEmpty(); }, kRoundsMs))
        << "before Add Port, still missing: " << Missing().join(", ").toStdString();

    Select("00005E5A0001");
    ASSERT_TRUE(AddPortFromMenu("Lobby")) << "the port dialog never listed Lobby";
    ASSERT_TRUE(console::FindServer("00005E5A0001") != nullptr);
    EXPECT_GE(console::FindServer("00005E5A0001")->category, 4u) << "the new port counts";

    alerts_.clear();
    rowsBehind_ = 0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return Missing().isEmpty(); }, kRoundsMs))
        << "after Add Port, still missing: " << Missing().join(", ").toStdString();
    EXPECT_EQ(rowsBehind_, 0) << "an alert came while its row showed another status";
}

}  // namespace
}  // namespace consoletest
