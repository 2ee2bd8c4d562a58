// The Network Interface command as a person runs it: from the menu, the tool bar and the Enter key
// on the list; what its OK changes shows in the list at once, a new card gets its first address
// through it, and what reached the card is what the list shows even when a later page failed.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTreeView>

#include "console/configuration/frmConfiguration.h"
#include "console/configuration/tests/AddressTyping.h"
#include "console/core/DeviceAccess.h"
#include "console/core/PrintServerTable.h"
#include "console/core/PrinterList.h"
#include "console/tests/CommandsFixture.h"

namespace consoletest {
namespace {

using console::State;

class NetworkInterfaceCommandTest : public CommandsFixture {
  protected:
    // The text of the description column on the card's row, as the list shows it.
    QString ListedDescription(const QString& mac) const {
        QStandardItemModel* model = console_->List()->Model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->item(row, 0)->data(Qt::UserRole + 1).toString() == mac) {
                return model->item(row, console::kDescriptionColumn)->text();
            }
        }
        return "(no row)";
    }
    // The card's object as the simulator holds it: the reply of its "get" after "ok ".
    std::string Read(const std::string& card, const std::string& oid) {
        const std::string reply = cards_.Command("get " + card + " " + oid);
        return reply.rfind("ok ", 0) == 0 ? reply.substr(3) : reply;
    }
    // The message texts shown so far, in their order.
    QStringList Shown() const {
        QStringList texts;
        for (const console::MessageShown& shown : boxes_.Shown()) {
            texts << shown.text;
        }
        return texts;
    }
};

// The address typed box by box, then the focus moved on with Tab, as a person leaves it.
void TypeAddressAndLeave(console::AddressBoxes* boxes, const QString& address) {
    boxes->window()->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(boxes->window()));
    TypeAddress(boxes, address);
    QTest::keyClick(boxes->Box(3), Qt::Key_Tab);
}

const std::string kSysName = "1.3.6.1.2.1.1.5.0";
const std::string kSysLocation = "1.3.6.1.2.1.1.6.0";
const std::string kCardAddress = "1.3.6.1.4.1.32473.11.5.1.12.2.5.0";
const std::string kCardSubnet = "1.3.6.1.4.1.32473.11.5.1.12.2.6.0";
const std::string kCardCategory = "1.3.6.1.4.1.32473.11.5.1.12.6.1.6.0";
const QString kNewbie = "00C0DE0000A1";
const std::string kNewbieCard =
    "card Newbie mac=00C0DE0000A1 ip=0.0.0.0 protocols=ip category=1 engine=office\n";

// A card fresh from its box answers broadcasts only: the command opens straight into its
// new-print-server form, which refuses no address and the broadcast address, gives a free one by
// broadcast and then writes the rest to the card there; the next Refresh lists it configured.
TEST_F(NetworkInterfaceCommandTest, ANewCardWithoutAddressGetsItsFirstOneFromTheMenu) {
    StartCards(kNewbieCard);
    OpenConsole();
    ASSERT_NE(console::FindServer(kNewbie), nullptr);
    ASSERT_EQ(console::FindServer(kNewbie)->ip, "0.0.0.0");
    Select(kNewbie);
    QStringList refusals;
    bool shown = false;
    OnDialog<console::frmConfiguration>([&](console::frmConfiguration& dialog) {
        shown = true;
        SavePicture(&dialog, "frmConfiguration-new-print-server-from-menu");
        QTest::mouseClick(dialog.pbuOK, Qt::LeftButton);
        dialog.Tabs()->setCurrentIndex(console::frmConfiguration::kTcpIp);
        TypeAddressAndLeave(dialog.txtIPAddress, "255.255.255.255");
        QTest::mouseClick(dialog.pbuOK, Qt::LeftButton);
        refusals = Shown();
        TypeAddressAndLeave(dialog.txtIPAddress, "127.0.29.50");
        TypeAddressAndLeave(dialog.txtSubnet, "255.255.0.0");
        dialog.Tabs()->setCurrentIndex(console::frmConfiguration::kGeneral);
        Retype(dialog.txtPrintServerName, "Newbie Desk");
        Retype(dialog.txtDescription, "Front office");
        QTest::mouseClick(dialog.pbuOK, Qt::LeftButton);
        if (dialog.isVisible()) {
            dialog.pbuCancel->click();
        }
    });
    FromMenu("mnuConfigure");
    ASSERT_TRUE(shown) << Shown().join(" | ").toStdString();
    EXPECT_EQ(refusals.join(" | ").toStdString(),
              "IP address is mandatory for a new print server | IP address cannot be 255.255.255.255");
    EXPECT_EQ(Shown().join(" | "), refusals.join(" | ")) << "the free address is taken without a word";

    EXPECT_EQ(Read("Newbie", kCardAddress), "IP 127.0.29.50");
    EXPECT_EQ(Read("Newbie", kCardSubnet), "IP 255.255.0.0");
    EXPECT_EQ(Read("Newbie", kSysName), "STRING \"Newbie Desk\"");
    EXPECT_EQ(Read("Newbie", kSysLocation), "STRING \"Front office\"");
    EXPECT_EQ(Read("Newbie", kCardCategory), "INTEGER 2");
    QString value;
    EXPECT_EQ(console::SnmpGet(kNewbie, QString::fromStdString(kSysName), value), 0)
        << "the card answers over IP at its new address";

    FromMenu("mnuRefresh");
    const console::PrintServerEntry* entry = console::FindServer(kNewbie);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->ip.toStdString(), "127.0.29.50");
    EXPECT_EQ(entry->name.toStdString(), "Newbie Desk");
    EXPECT_EQ(entry->description.toStdString(), "Front office");
    EXPECT_EQ(entry->category & 3u, 2u) << "a configured print server now";
    EXPECT_EQ(ListedDescription(kNewbie).toStdString(), "Front office");
    EXPECT_EQ(Shown().join(" | "), refusals.join(" | ")) << "nothing more is said";
}

// A new card that answers over IPX too is configured over SNMP only: with IP silenced, no broadcast
// could be answered, yet the address and the name reach it.
TEST_F(NetworkInterfaceCommandTest, ANewCardThatAlsoSpeaksIpxIsConfiguredWithoutBroadcast) {
    StartCards("card Twofold mac=00C0DE0000A2 ip=0.0.0.0 protocols=ip,ipx category=1 engine=office\n");
    OpenConsole();
    const QString mac = "00C0DE0000A2";
    ASSERT_NE(console::FindServer(mac), nullptr);
    ASSERT_EQ(cards_.Command("fault Twofold ip silent"), "ok");
    Select(mac);
    bool shown = false;
    OnDialog<console::frmConfiguration>([&](console::frmConfiguration& dialog) {
        shown = true;
        EXPECT_TRUE(dialog.Tabs()->isTabEnabled(console::frmConfiguration::kSnmp)) << "read in full";
        dialog.Tabs()->setCurrentIndex(console::frmConfiguration::kTcpIp);
        TypeAddressAndLeave(dialog.txtIPAddress, "127.0.29.60");
        dialog.Tabs()->setCurrentIndex(console::frmConfiguration::kGeneral);
        Retype(dialog.txtPrintServerName, "Twofold Desk");
        QTest::mouseClick(dialog.pbuOK, Qt::LeftButton);
        if (dialog.isVisible()) {
            dialog.pbuCancel->click();
        }
    });
    FromMenu("mnuConfigure");
    ASSERT_TRUE(shown);
    EXPECT_TRUE(Shown().isEmpty()) << Shown().join(" | ").toStdString();
    EXPECT_EQ(Read("Twofold", kCardAddress), "IP 127.0.29.60");
    EXPECT_EQ(Read("Twofold", kSysName), "STRING \"Twofold Desk\"");
    EXPECT_EQ(console::FindServer(mac)->name.toStdString(), "Twofold Desk");
}

// A later page refused by the card after the name and description went: the list shows what the
// card now holds, and the refusal is still said.
TEST_F(NetworkInterfaceCommandTest, WhatReachedTheCardIsListedThoughALaterPageFailed) {
    StartCards("card Desk mac=00005E470001 ip=127.0.28.1\n");
    OpenConsole();
    const QString mac = "00005E470001";
    struct Case {
        const char* page;
        std::function<void(console::frmConfiguration&)> refused;  // a value the card does not take
    };
    const Case cases[] = {
        {"SNMP",
         [](console::frmConfiguration& dialog) {
             dialog.Tabs()->setCurrentIndex(console::frmConfiguration::kSnmp);
             dialog.chkEnableTraps->click();
             Retype(dialog.txtSNMP1Name, QString(40, 'c'));
             TypeAddressAndLeave(dialog.txtSnmpIP, "127.0.0.9");
         }},
        {"AppleTalk",
         [](console::frmConfiguration& dialog) {
             dialog.Tabs()->setCurrentIndex(console::frmConfiguration::kAppleTalk);
             Retype(dialog.txtPrinterName, QString(40, 'n'));
         }},
    };
    for (const Case& refusal : cases) {
        boxes_.Clear();
        Select(mac);
        const QString name = QString("Desk %1").arg(refusal.page);
        OnDialog<console::frmConfiguration>([&](console::frmConfiguration& dialog) {
            Retype(dialog.txtPrintServerName, name);
            Retype(dialog.txtDescription, name + " room");
            refusal.refused(dialog);
            QTest::mouseClick(dialog.pbuOK, Qt::LeftButton);
            EXPECT_TRUE(dialog.isVisible()) << refusal.page;
            dialog.pbuCancel->click();
        });
        FromMenu("mnuConfigure");
        EXPECT_EQ(Shown().join(" | ").toStdString(), "The print server is unable to process your request.")
            << refusal.page;
        EXPECT_EQ(Read("Desk", kSysName), "STRING \"" + name.toStdString() + "\"") << refusal.page;
        EXPECT_EQ(ListedDescription(mac).toStdString(), (name + " room").toStdString()) << refusal.page;
        EXPECT_EQ(console::FindServer(mac)->name.toStdString(), name.toStdString()) << refusal.page;
    }
}

TEST_F(NetworkInterfaceCommandTest, OkShowsTheNewTextAtOnceFromMenuToolBarAndKey) {
    StartCards(
        "card Desk mac=00005E470001 ip=127.0.28.1\n"
        "card Hall mac=00005E470002 ip=127.0.28.2\n");
    OpenConsole();
    const QString mac = "00005E470002";
    for (int way = 0; way < 3; ++way) {
        Select(mac);
        const QString description = QString("Floor %1").arg(way + 2);
        bool shown = false;
        OnDialog<console::frmConfiguration>([&](console::frmConfiguration& dialog) {
            shown = true;
            dialog.txtDescription->selectAll();
            QTest::keyClicks(dialog.txtDescription, description);
            QTest::mouseClick(dialog.pbuOK, Qt::LeftButton);
        });
        if (way == 0) {
            FromMenu("mnuConfigure");
        } else if (way == 1) {
            FromToolBar("mnuConfigure");
        } else {
            QTreeView* view = console_->List()->DetailView();
            view->setFocus();
            QTest::keyClick(view, Qt::Key_Return);
        }
        ASSERT_TRUE(shown) << way;
        EXPECT_EQ(ListedDescription(mac).toStdString(), description.toStdString()) << way;
        EXPECT_EQ(console_->List()->SelectedMac(), mac) << "the same print server stays chosen";
        EXPECT_FALSE(State().commandBusy);
    }
    SavePicture(console_.get(), "NewLook-after-network-interface");
}

}  // namespace
}  // namespace consoletest
