// The main window and the dialogs that shape its list, on the demo's network, as the help shows
// them: the list of the demo's print servers, the printer filter, the alerts with their log and the
// print server added by its address.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTreeWidget>

#include "console/core/PrintServerTable.h"
#include "console/core/PrinterList.h"
#include "console/core/dialogs/frmFilter.h"
#include "console/core/dialogs/frmLocate.h"
#include "console/core/dialogs/frmNotify.h"
#include "console/tests/DemoNetworkFixture.h"
#include "console/tests/Typing.h"

namespace consoletest {
namespace {

// A trap from the simulator's process: a bound for a loaded machine.
constexpr int kAcrossMs = 60000;

QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) {
        texts << list->item(row)->text();
    }
    return texts;
}

class MainWindowPicturesTest : public DemoNetworkFixture {
  protected:
    // The list's row of the card, by its hardware address; -1 when it is not listed.
    int RowOf(const std::string& name) const {
        for (int row = 0; row < Model()->rowCount(); ++row) {
            if (Model()->item(row, 0)->data(Qt::UserRole + 1).toString() == Mac(name)) {
                return row;
            }
        }
        return -1;
    }
    // The list's column of that title.
    int Section(const QString& title) const {
        for (int section = 0; section < Model()->columnCount(); ++section) {
            if (Model()->headerData(section, Qt::Horizontal).toString() == title) {
                return section;
            }
        }
        ADD_FAILURE() << "no column " << title.toStdString();
        return 0;
    }
    // The names of the demo's set-up print servers (a card fresh from its box has none of its own).
    QStringList SetUpNames() const {
        QStringList names;
        for (const sim::CardDescription& card : demo_.cards) {
            if ((card.category & 2) != 0) {
                names << QString::fromStdString(card.name);
            }
        }
        return names;
    }
};

TEST_F(MainWindowPicturesTest, TheListShowsEveryPrintServerOfTheDemoNetwork) {
    OpenConsole();
    ASSERT_EQ(Model()->rowCount(), static_cast<int>(demo_.cards.size()));
    for (const sim::CardDescription& card : demo_.cards) {
        const int row = RowOf(card.name);
        ASSERT_GE(row, 0) << card.name;
        EXPECT_EQ(Model()->item(row, Section("IP Address"))->text(), IpText(card.ip)) << card.name;
    }
    QStringList listed = Column(0);
    for (const QString& name : SetUpNames()) {
        EXPECT_TRUE(listed.removeOne(name)) << name.toStdString();
    }
    EXPECT_EQ(listed.size(), 1) << "the new card besides the set-up ones: "
                                << listed.join(", ").toStdString();

    SelectCard("Lobby");
    HelpPicture(console_.get(), "NewLook");
    FromMenu("mnuLargeIcons");
    HelpPicture(console_.get(), "NewLook-large-icons");
    FromMenu("mnuList");
}

TEST_F(MainWindowPicturesTest, ThePrinterFilterOffersTheDemoPrintServersAndListsThoseChosen) {
    OpenConsole();
    FromMenuOn<console::frmFilter>("mnuFilter2", [this](console::frmFilter& dialog) {
        QStringList offered = Texts(dialog.Available());
        offered.sort();
        QStringList listed = Column(0);
        listed.sort();
        EXPECT_EQ(offered, listed);
        for (const char* name : {"Accounts", "Design"}) {
            const QList<QListWidgetItem*> found = dialog.Available()->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << name;
            found.front()->setSelected(true);
        }
        dialog.pbuAdd_Click();
        EXPECT_EQ(Texts(dialog.Filtered()), (QStringList{"Accounts", "Design"}));
        HelpPicture(&dialog, "frmFilter");
        dialog.pbuOk_Click();
    });
    EXPECT_EQ(Column(0), (QStringList{"Accounts", "Design"}));
}

TEST_F(MainWindowPicturesTest, AnAlertOfAWatchedDemoPrinterIsShownAndLogged) {
    OpenConsole();
    FromMenuOn<console::frmNotify>("mnuNotify", [](console::frmNotify& dialog) {
        const QList<QListWidgetItem*> accounts =
            dialog.AvailablePrinters()->findItems("Accounts", Qt::MatchExactly);
        ASSERT_EQ(accounts.size(), 1);
        accounts.front()->setSelected(true);
        dialog.pbuAdd_Click();
        for (QListWidgetItem* item : dialog.AvailableAlerts()->findItems("COVER OPEN", Qt::MatchExactly)) {
            item->setSelected(true);
        }
        dialog.pbuAddevents_Click();
        EXPECT_EQ(Texts(dialog.ActiveAlerts()), QStringList{"COVER OPEN"});
        dialog.AlertsOn()->setChecked(true);
        dialog.Popup()->setChecked(true);
        dialog.Logging()->setChecked(true);
        dialog.LogFile()->setText("alerts.log");
        HelpPicture(&dialog, "frmNotify-general");
        dialog.pbuOK_Click();
    });
    ASSERT_TRUE(console::FindServer(Mac("Accounts"))->notify);

    ASSERT_EQ(cards_.Command("status Accounts 68"), "ok");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes_.Shown().empty(); }, kAcrossMs));
    EXPECT_EQ(boxes_.Shown().back().text, "Accounts : COVER OPEN");
    FromMenuOn<console::frmNotify>("mnuNotify", [](console::frmNotify& dialog) {
        dialog.Tabs()->setCurrentIndex(2);
        ASSERT_EQ(dialog.Log()->topLevelItemCount(), 1);
        EXPECT_EQ(dialog.Log()->topLevelItem(0)->text(0), "Accounts");
        EXPECT_EQ(dialog.Log()->topLevelItem(0)->text(2), "COVER OPEN");
        HelpPicture(&dialog, "frmNotify-log");
        dialog.reject();
    });
}

// Before any detection, a demo print server is added by the address it has there, typed as a person
// types it.
TEST_F(MainWindowPicturesTest, LocateAddsADemoPrintServerByItsAddress) {
    OpenConsole(false);
    const QString address = IpText(Card("Reception").ip);
    FromMenuOn<console::frmLocate>("mnuLocate", [address](console::frmLocate& dialog) {
        dialog.Octet(0)->setFocus();
        TypeAtFocus(address);
        HelpPicture(&dialog, "frmLocate-typed");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        if (dialog.isVisible()) {
            dialog.reject();
        }
    });
    const console::PrintServerEntry* found = console::FindServer(Mac("Reception"));
    ASSERT_NE(found, nullptr) << (boxes_.Shown().empty() ? "" : boxes_.Shown().back().text.toStdString());
    EXPECT_EQ(found->name, "Reception");
    EXPECT_EQ(console_->List()->SelectedMac(), Mac("Reception"));
    EXPECT_EQ(Column(0), QStringList{"Reception"});
}

}  // namespace
}  // namespace consoletest
