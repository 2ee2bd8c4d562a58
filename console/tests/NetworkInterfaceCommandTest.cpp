// The Network Interface command as a person runs it: from the menu, the tool bar and the Enter key
// on the list; what its OK changes shows in the list at once, a new card gets its first address
// through it, and what reached the card is what the list shows even when a later page failed.
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTreeView>

#include <map>

#include "console/configuration/frmConfiguration.h"
#include "console/configuration/frmGetPassword.h"
#include "console/configuration/tests/AddressTyping.h"
#include "console/core/DeviceAccess.h"
#include "console/core/PrintServerTable.h"
#include "console/core/PrinterList.h"
#include "console/core/StringTable.h"
#include "console/tests/CommandsFixture.h"

namespace consoletest {
namespace {

using console::State;

const std::string kSysName = "1.3.6.1.2.1.1.5.0";
const std::string kSysLocation = "1.3.6.1.2.1.1.6.0";
const std::string kCardAddress = "1.3.6.1.4.1.32473.11.5.1.12.2.5.0";
const std::string kCardSubnet = "1.3.6.1.4.1.32473.11.5.1.12.2.6.0";
const std::string kCardGateway = "1.3.6.1.4.1.32473.11.5.1.12.2.9.0";
const std::string kCardCategory = "1.3.6.1.4.1.32473.11.5.1.12.6.1.6.0";
const std::string kProtection = "1.3.6.1.4.1.32473.11.5.1.12.6.1.1.0";
const std::string kJobCheckDelay = "1.3.6.1.4.1.32473.11.5.1.12.1.1.0";
const std::string kConfigurationCheckDelay = "1.3.6.1.4.1.32473.11.5.1.12.1.2.0";
const std::string kWatched[] = {kSysName,    kSysLocation,   kCardAddress,
                                kCardSubnet, kCardGateway,   kCardCategory,
                                kProtection, kJobCheckDelay, kConfigurationCheckDelay};

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
    // What the card holds of every object that a Network Interface OK may write.
    std::map<std::string, std::string> Holds(const std::string& card) {
        std::map<std::string, std::string> values;
        for (const std::string& oid : kWatched) {
            values[oid] = Read(card, oid);
        }
        return values;
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

// Two configured cards and two fresh from their box, which answer broadcasts only; by hardware
// address, as the simulator's commands name them whatever they are renamed to.
const std::string kSite =
    "card Zed mac=00C0DE0000B1 ip=127.0.1.1\n"
    "card Yew mac=00C0DE0000B2 ip=127.0.1.2\n"
    "card Boxed mac=00C0DE0000B3 ip=0.0.0.0 protocols=ip category=1\n"
    "card Crate mac=00C0DE0000B4 ip=0.0.0.0 protocols=ip category=1\n";
const char* const kSiteCards[] = {"00C0DE0000B1", "00C0DE0000B2", "00C0DE0000B3", "00C0DE0000B4"};
const QString kZed = "00C0DE0000B1";
const QString kYew = "00C0DE0000B2";
const QString kBoxed = "00C0DE0000B3";
const QString kCrate = "00C0DE0000B4";

// Enter presses OK without moving the focus out of the box typed last: what stands there is still
// what OK writes, for a configured card that moves and for a new card given its first address, and
// nothing else changes on any card (a new card's check delays, which its form never read, included).
TEST_F(NetworkInterfaceCommandTest, EnterAfterTypingAnAddressWritesIt) {
    StartCards(kSite);
    ASSERT_EQ(cards_.Command("put 00C0DE0000B3 " + kJobCheckDelay + " integer 30"), "ok");
    ASSERT_EQ(cards_.Command("put 00C0DE0000B3 " + kConfigurationCheckDelay + " integer 5"), "ok");
    OpenConsole();
    struct Case {
        QString mac;
        QString name;  // typed first when not empty
        QString address;
    };
    const Case cases[] = {{kZed, "", "127.0.1.9"}, {kBoxed, "Fresh", "127.0.3.1"}};
    for (const Case& entered : cases) {
        const std::string card = entered.mac.toStdString();
        std::map<std::string, std::map<std::string, std::string>> before;
        for (const char* each : kSiteCards) {
            before[each] = Holds(each);
        }
        boxes_.Clear();
        Select(entered.mac);
        bool closed = false;
        OnDialog<console::frmConfiguration>([&](console::frmConfiguration& dialog) {
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            if (!entered.name.isEmpty()) {
                Retype(dialog.txtPrintServerName, entered.name);
            }
            dialog.Tabs()->setCurrentIndex(console::frmConfiguration::kTcpIp);
            TypeAddress(dialog.txtIPAddress, entered.address);
            QTest::keyClick(dialog.txtIPAddress->Box(3), Qt::Key_Return);
            closed = !dialog.isVisible();
            if (!closed) {
                dialog.pbuCancel->click();
            }
        });
        FromMenu("mnuConfigure");
        EXPECT_TRUE(closed) << card << ": " << Shown().join(" | ").toStdString();
        EXPECT_TRUE(Shown().isEmpty()) << card << ": " << Shown().join(" | ").toStdString();
        std::map<std::string, std::string> expected = before[card];
        expected[kCardAddress] = "IP " + entered.address.toStdString();
        if (!entered.name.isEmpty()) {
            expected[kSysName] = "STRING \"" + entered.name.toStdString() + "\"";
            expected[kCardCategory] = "INTEGER 2";
        }
        for (const char* each : kSiteCards) {
            EXPECT_EQ(Holds(each), each == card ? expected : before[each]) << card << " changed " << each;
        }
        EXPECT_EQ(console::FindServer(entered.mac)->ip.toStdString(), entered.address.toStdString()) << card;
    }
}

// A new card given the address another device answers at is refused before anything is sent, with a
// message that names the address; the other device and the new card hold what they held, and the
// new card can then be given a free address.
TEST_F(NetworkInterfaceCommandTest, ANewCardGivenAnAddressInUseLeavesTheOtherDeviceAlone) {
    StartCards(kSite);
    OpenConsole();
    std::map<std::string, std::map<std::string, std::string>> before;
    for (const char* each : kSiteCards) {
        before[each] = Holds(each);
    }
    const console::PrintServerEntry storedBefore = *console::FindServer(kCrate);
    Select(kCrate);
    QString refusal;
    bool openAfterRefusal = false;
    std::map<std::string, std::map<std::string, std::string>> afterRefusal;
    console::PrintServerEntry storedAfterRefusal;
    OnDialog<console::frmConfiguration>([&](console::frmConfiguration& dialog) {
        Retype(dialog.txtPrintServerName, "Intruder");
        dialog.Tabs()->setCurrentIndex(console::frmConfiguration::kTcpIp);
        TypeAddressAndLeave(dialog.txtIPAddress, "127.0.1.2");
        // The refusal as the administrator sees it: a real box, pictured and answered.
        console::SetMessageHook({});
        OnDialog<QMessageBox>([&](QMessageBox& box) {
            refusal = box.text();
            SavePicture(&box, "frmConfiguration-address-in-use");
            box.accept();
        });
        QTest::mouseClick(dialog.pbuOK, Qt::LeftButton);
        boxes_.Install();
        openAfterRefusal = dialog.isVisible();
        for (const char* each : kSiteCards) {
            afterRefusal[each] = Holds(each);
        }
        storedAfterRefusal = *console::FindServer(kCrate);
        TypeAddressAndLeave(dialog.txtIPAddress, "127.0.3.2");
        QTest::mouseClick(dialog.pbuOK, Qt::LeftButton);
        if (dialog.isVisible()) {
            dialog.pbuCancel->click();
        }
    });
    FromMenu("mnuConfigure");
    EXPECT_EQ(refusal.toStdString(), console::LoadString(20045).arg("127.0.1.2").toStdString());
    EXPECT_TRUE(openAfterRefusal) << "the address can be typed again";
    for (const char* each : kSiteCards) {
        EXPECT_EQ(afterRefusal[each], before[each]) << "the refusal changed " << each;
    }
    EXPECT_EQ(storedAfterRefusal.ip.toStdString(), "0.0.0.0") << "the store still knows it without address";
    EXPECT_EQ(storedAfterRefusal.name.toStdString(), storedBefore.name.toStdString());

    EXPECT_TRUE(Shown().isEmpty()) << Shown().join(" | ").toStdString();
    EXPECT_EQ(Read("00C0DE0000B4", kCardAddress), "IP 127.0.3.2");
    EXPECT_EQ(Read("00C0DE0000B4", kSysName), "STRING \"Intruder\"");
    EXPECT_EQ(Holds("00C0DE0000B2"), before["00C0DE0000B2"]) << "Yew keeps its name and address";
    FromMenu("mnuRefresh");
    QStringList atYew;
    for (const console::PrintServerEntry& entry : State().servers) {
        if (entry.ip == "127.0.1.2") {
            atYew << entry.name;
        }
    }
    EXPECT_EQ(atYew.join(" | ").toStdString(), "Yew");
}

// A new card that answered the broadcast but does not answer at the address is said so; nothing more
// is written and the store still knows it without an address, so a second OK gives it the address
// again once it answers there.
TEST_F(NetworkInterfaceCommandTest, ANewCardSilentAtItsNewAddressCanBeGivenItAgain) {
    StartCards(kSite);
    OpenConsole();
    const std::map<std::string, std::string> before = Holds("00C0DE0000B3");
    Select(kBoxed);
    QStringList told;
    QString storedAddress;
    std::string nameAfterFirst;
    OnDialog<console::frmConfiguration>([&](console::frmConfiguration& dialog) {
        Retype(dialog.txtPrintServerName, "Fresh");
        dialog.Tabs()->setCurrentIndex(console::frmConfiguration::kTcpIp);
        TypeAddressAndLeave(dialog.txtIPAddress, "127.0.3.1");
        // The card takes the broadcast, then loses what comes next.
        EXPECT_EQ(cards_.Command("fault 00C0DE0000B3 ip drop 99"), "ok");
        QTest::mouseClick(dialog.pbuOK, Qt::LeftButton);
        told = Shown();
        storedAddress = console::FindServer(kBoxed)->ip;
        EXPECT_EQ(cards_.Command("fault 00C0DE0000B3 ip clear"), "ok");
        nameAfterFirst = Read("00C0DE0000B3", kSysName);
        boxes_.Clear();
        QTest::mouseClick(dialog.pbuOK, Qt::LeftButton);
        if (dialog.isVisible()) {
            dialog.pbuCancel->click();
        }
    });
    FromMenu("mnuConfigure");
    EXPECT_EQ(told.join(" | ").toStdString(), console::LoadString(20046).arg("127.0.3.1").toStdString());
    EXPECT_EQ(storedAddress.toStdString(), "0.0.0.0");
    EXPECT_EQ(nameAfterFirst, before.at(kSysName)) << "nothing more was written";
    EXPECT_TRUE(Shown().isEmpty()) << Shown().join(" | ").toStdString();
    EXPECT_EQ(Read("00C0DE0000B3", kCardAddress), "IP 127.0.3.1");
    EXPECT_EQ(Read("00C0DE0000B3", kSysName), "STRING \"Fresh\"");
    EXPECT_EQ(console::FindServer(kBoxed)->ip.toStdString(), "127.0.3.1");
}

// A configured card given its factory name and no address is marked new again by the console; only
// a card that itself said it is new opens without the password gate. This one is protected, so the
// gate must ask it, and cannot, as it now answers nothing but broadcasts.
TEST_F(NetworkInterfaceCommandTest, OnlyACardThatSaidItIsNewPassesWithoutTheGate) {
    StartCards("card Desk mac=00C0DE0000C1 ip=127.0.28.5 protocols=ip password=secret\n");
    OpenConsole();
    const QString mac = "00C0DE0000C1";
    Select(mac);
    OnDialog<console::frmGetPassword>([](console::frmGetPassword& gate) {
        Retype(gate.txtPassword, "secret");
        QTest::mouseClick(gate.pbuOK, Qt::LeftButton);
    });
    OnDialog<console::frmConfiguration>([&](console::frmConfiguration& dialog) {
        Retype(dialog.txtPrintServerName, mac.toLower() + State().makerAbbreviation);
        dialog.Tabs()->setCurrentIndex(console::frmConfiguration::kTcpIp);
        TypeAddressAndLeave(dialog.txtIPAddress, "0.0.0.0");
        QTest::mouseClick(dialog.pbuOK, Qt::LeftButton);
        if (dialog.isVisible()) {
            dialog.pbuCancel->click();
        }
    });
    FromMenu("mnuConfigure");
    ASSERT_TRUE(Shown().isEmpty()) << Shown().join(" | ").toStdString();
    ASSERT_EQ(Read("00C0DE0000C1", kCardAddress), "IP 0.0.0.0");
    ASSERT_EQ(console::FindServer(mac)->category & 3u, 1u) << "marked new by the console";

    Select(mac);
    bool opened = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&opened] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<console::frmConfiguration*>(widget);
            if (dialog != nullptr && dialog->isVisible()) {
                opened = true;
                dialog->pbuCancel->click();
            }
        }
    });
    watch.start(10);
    FromMenu("mnuConfigure");
    watch.stop();
    EXPECT_FALSE(opened) << "the network settings opened without the password";
    EXPECT_FALSE(Shown().isEmpty()) << "the gate says it could not ask the card";
}

}  // namespace
}  // namespace consoletest
