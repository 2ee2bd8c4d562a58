// The network interface dialog offscreen against simulated cards: every page loads the card's
// settings, every change a person makes is written and reads back from the card, a new address
// never strands the other changes, a new card gets its first address by broadcast, failures keep
// or close the dialog as they should. Pictures of each page go into the build folder.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "console/configuration/AddressBoxes.h"
#include "console/configuration/frmConfiguration.h"
#include "console/configuration/tests/AddressTyping.h"
#include "console/configuration/tests/ConfigurationFixture.h"
#include "console/core/DeviceAccess.h"
#include "console/core/EngineVersion.h"
#include "console/core/PrintServerTable.h"
#include "console/tests/Typing.h"

namespace console {
namespace {

const QString kAlpha = "00C0DE0000A1";
const std::string kAlphaCard =
    "card Alpha mac=00C0DE0000A1 ip=127.0.1.1 protocols=ip engine=office location=\"Print room\"\n";

using consoletest::Retype;
using consoletest::TypeAddress;

class ConfigurationDialogTest : public ConfigurationFixture {
  protected:
    // The dialog on the card's row, loaded and shown.
    std::unique_ptr<frmConfiguration> OpenDialog(const QString& mac) {
        Select(mac);
        auto dialog = std::make_unique<frmConfiguration>(console_.get());
        loaded_ = dialog->Form_Load();
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return dialog;
    }
    bool loaded_ = false;
};

TEST_F(ConfigurationDialogTest, EveryPageLoadsTheCardAndEveryChangeReadsBackFromIt) {
    OpenConsole(kAlphaCard);
    auto dialog = OpenDialog(kAlpha);
    ASSERT_TRUE(loaded_);
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_EQ(dialog->txtPrintServerName->text(), "Alpha");
    EXPECT_EQ(dialog->txtDescription->text(), "Print room");
    EXPECT_EQ(dialog->txtMACAddress->text(), kAlpha);
    EXPECT_EQ(dialog->txtIPAddress->Text(), "127.0.1.1");
    EXPECT_EQ(dialog->txtSubnet->Text(), "255.0.0.0");
    EXPECT_EQ(dialog->cmbIPAssignment->currentText(), "Static");
    EXPECT_TRUE(dialog->chkTCP->isChecked());
    EXPECT_TRUE(dialog->txtIPAddress->isEnabled());
    EXPECT_TRUE(dialog->frameTypes[0]->isChecked());
    EXPECT_TRUE(dialog->chkApple->isChecked());
    EXPECT_EQ(dialog->cmbZone->count(), 3);
    EXPECT_EQ(dialog->cmbZone->currentText(), "Main Office");
    EXPECT_EQ(dialog->txtPrinterName->text(), "Alpha");
    EXPECT_EQ(dialog->txtARTimer->value(), 50);
    EXPECT_EQ(dialog->txtPAPwait->value(), 60);
    EXPECT_EQ(dialog->txtSNMP2Name->text(), "k!r@o#v$e%t");
    EXPECT_TRUE(dialog->chkRead->isChecked() && dialog->chkWrite->isChecked());
    EXPECT_EQ(dialog->txtSnmpIP->Text(), "0.0.0.0");
    EXPECT_EQ(dialog->ippBoxes[41]->text(), "ipp://Alpha/ipp");
    EXPECT_EQ(dialog->txtWorkGroupName->text(), "WORKGROUP");
    EXPECT_FALSE(dialog->chkSMB->isChecked());
    EXPECT_FALSE(dialog->txtWorkGroupName->isEnabled());
    QTabWidget* tabs = dialog->Tabs();
    for (int page : {frmConfiguration::kFirmware, frmConfiguration::kFactory}) {
        EXPECT_FALSE(tabs->isTabEnabled(page));
    }
    for (int page = 0; page < tabs->count(); ++page) {
        if (tabs->isTabEnabled(page)) {
            tabs->setCurrentIndex(page);
            SavePicture(dialog.get(), "frmConfiguration-" + tabs->tabText(page).remove('&').remove('/'));
        }
    }

    // A person's changes on every page.
    tabs->setCurrentIndex(frmConfiguration::kGeneral);
    Retype(dialog->txtDescription, "Second floor, east");
    tabs->setCurrentIndex(frmConfiguration::kTcpIp);
    TypeAddress(dialog->txtGateway, "127.0.0.254");
    Retype(dialog->txtSubnet->Box(1), "255");
    dialog->txtPrintServerName->setFocus();  // leaving the mask box writes its row
    tabs->setCurrentIndex(frmConfiguration::kNetWare);
    EXPECT_FALSE(dialog->frameTypes[2]->isEnabled()) << "NetWare is off on this card";
    dialog->chkNetware->click();
    dialog->frameTypes[2]->click();
    EXPECT_FALSE(dialog->frameTypes[0]->isChecked()) << "an explicit type unchecks Auto";
    tabs->setCurrentIndex(frmConfiguration::kAppleTalk);
    Retype(dialog->txtPrinterName, "Alpha Laser");
    dialog->cmbZone->setFocus();
    QTest::keyClick(dialog->cmbZone, Qt::Key_Down);
    QTest::keyClick(dialog->txtARTimer, Qt::Key_Up);
    QTest::keyClicks(dialog->txtARTimer, "9");
    QTest::keyClick(dialog->txtPAPwait, Qt::Key_Down);
    QTest::keyClick(dialog->txtPAPwait, Qt::Key_Down);
    EXPECT_EQ(dialog->txtARTimer->value(), 60) << "typing changes nothing";
    EXPECT_EQ(dialog->txtPAPwait->value(), 30) << "the wait stays within its range";
    tabs->setCurrentIndex(frmConfiguration::kSnmp);
    dialog->chkEnableTraps->click();
    dialog->pbuRight->click();
    EXPECT_EQ(dialog->pnlTraverse->title(), "Address Pair 2");
    TypeAddress(dialog->txtSnmpIP, "127.0.0.9");
    Retype(dialog->txtSNMP1Name, "alerts");
    dialog->pbuRightCN->click();
    dialog->pbuRightCN->click();
    Retype(dialog->txtSNMP2Name, "audit");
    dialog->chkRead->click();
    tabs->setCurrentIndex(frmConfiguration::kSmb);
    dialog->chkSMB->click();
    Retype(dialog->txtWorkGroupName, "PRINTERS");
    EXPECT_TRUE(dialog->txtWorkGroupName->isEnabled());

    dialog->pbuOK_Click();
    for (const console::MessageShown& shown : boxes_.Shown()) {
        ADD_FAILURE() << shown.text.toStdString();
    }
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    const std::pair<std::string, std::string> expected[] = {
        {"1.3.6.1.2.1.1.6.0", "STRING \"Second floor, east\""},
        {kPrivate + "12.2.9.0", "IP 127.0.0.254"},
        {kPrivate + "12.2.6.0", "IP 255.255.0.0"},
        {kPrivate + "12.2.5.0", "IP 127.0.1.1"},
        {kPrivate + "12.3.2.0", "INTEGER 1"},
        {kPrivate + "12.2.10.0", "INTEGER 1"},
        {kPrivate + "12.2.12.0", "INTEGER 2"},
        {kPrivate + "12.5.6.0", "STRING \"Alpha Laser\""},
        {"1.3.6.1.2.1.13.3.1.1.17.1", "STRING \"Engineering\""},
        {kPrivate + "12.5.2.0", "INTEGER 60"},
        {kPrivate + "12.5.7.0", "INTEGER 30"},
        {"1.3.6.1.2.1.11.30.0", "INTEGER 1"},
        {kPrivate + "12.6.2.2.1.2.2", "IP 127.0.0.9"},
        {kPrivate + "12.6.2.2.1.3.2", "STRING \"alerts\""},
        {kPrivate + "12.6.2.2.1.4.2", "INTEGER 1"},
        {kPrivate + "12.6.3.2.1.2.3", "STRING \"audit\""},
        {kPrivate + "12.6.3.2.1.3.3", "INTEGER 1"},
        {kPrivate + "12.6.3.2.1.4.3", "INTEGER 1"},
        {kPrivate + "12.3.5.0", "INTEGER 1"},
        {kPrivate + "12.10.1.0", "STRING \"PRINTERS\""},
    };
    for (const auto& [oid, value] : expected) {
        EXPECT_EQ(Read("Alpha", oid), value) << oid;
    }
    EXPECT_EQ(FindServer(kAlpha)->description, "Second floor, east");
}

// Addresses as a person enters them: typed with their dots, or pasted whole into one box.
TEST_F(ConfigurationDialogTest, DottedAddressesTypedOrPastedReachTheCard) {
    OpenConsole(kAlphaCard);
    auto dialog = OpenDialog(kAlpha);
    ASSERT_TRUE(loaded_);
    dialog->Tabs()->setCurrentIndex(frmConfiguration::kTcpIp);
    dialog->txtGateway->Box(0)->setFocus();
    consoletest::TypeAtFocus("127.0.0.254");
    consoletest::PasteInto(dialog->txtSubnet->Box(2), "255.255.0.0");
    dialog->txtPrintServerName->setFocus();
    dialog->Tabs()->setCurrentIndex(frmConfiguration::kSnmp);
    dialog->pbuRight->click();
    dialog->txtSnmpIP->Box(0)->setFocus();
    consoletest::TypeAtFocus("127.0.0.9");
    Retype(dialog->txtSNMP1Name, "alerts");
    dialog->pbuRight->click();
    consoletest::PasteInto(dialog->txtSnmpIP->Box(3), "127.0.0.10");
    Retype(dialog->txtSNMP1Name, "audit");
    SavePicture(dialog.get(), "frmConfiguration-SNMP-typed");
    dialog->pbuOK_Click();
    for (const console::MessageShown& shown : boxes_.Shown()) {
        ADD_FAILURE() << shown.text.toStdString();
    }
    const std::pair<std::string, std::string> expected[] = {
        {kPrivate + "12.2.9.0", "IP 127.0.0.254"},      {kPrivate + "12.2.6.0", "IP 255.255.0.0"},
        {kPrivate + "12.6.2.2.1.2.2", "IP 127.0.0.9"},  {kPrivate + "12.6.2.2.1.3.2", "STRING \"alerts\""},
        {kPrivate + "12.6.2.2.1.2.3", "IP 127.0.0.10"}, {kPrivate + "12.6.2.2.1.3.3", "STRING \"audit\""},
    };
    for (const auto& [oid, value] : expected) {
        EXPECT_EQ(Read("Alpha", oid), value) << oid;
    }
}

// The AppleTalk times show what the card holds, a value no step reaches included, and nothing is
// written back until a person steps one. A step is taken while the value is inside the page's
// bounds (timer 0 to 250 by 10, wait 30 to 120 by 30) and may end past them, never below 0.
TEST_F(ConfigurationDialogTest, TheAppleTalkTimesShowWhatTheCardHoldsAndStepFromThere) {
    OpenConsole(kAlphaCard);
    const std::string timer = kPrivate + "12.5.2.0", wait = kPrivate + "12.5.7.0";
    struct Case {
        int timer, wait;
        Qt::Key timerKey, waitKey;
        int timerAfter, waitAfter;
    };
    const Case cases[] = {
        {255, 15, Qt::Key_Up, Qt::Key_Down, 255, 15},  // past the bounds: no step goes further
        {255, 15, Qt::Key_Down, Qt::Key_Up, 245, 45},
        {5, 45, Qt::Key_Down, Qt::Key_Down, 0, 15},
        {245, 120, Qt::Key_Up, Qt::Key_Up, 255, 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.timer) + "/" + std::to_string(c.wait));
        for (const auto& [oid, value] : {std::pair{timer, c.timer}, std::pair{wait, c.wait}}) {
            ASSERT_EQ(cards_.Command("put Alpha " + oid + " integer " + std::to_string(value)), "ok");
        }
        auto dialog = OpenDialog(kAlpha);
        ASSERT_TRUE(loaded_);
        dialog->Tabs()->setCurrentIndex(frmConfiguration::kAppleTalk);
        EXPECT_EQ(dialog->txtARTimer->text(), QString::number(c.timer));
        EXPECT_EQ(dialog->txtPAPwait->text(), QString::number(c.wait));
        if (c.timer == 255 && c.timerKey == Qt::Key_Up) {
            SavePicture(dialog.get(), "frmConfiguration-AppleTalk-outside-the-steps");
        }
        QTest::keyClick(dialog->txtARTimer, c.timerKey);
        QTest::keyClick(dialog->txtPAPwait, c.waitKey);
        dialog->pbuOK_Click();
        EXPECT_TRUE(boxes_.Shown().empty()) << boxes_.Shown().front().text.toStdString();
        EXPECT_EQ(Read("Alpha", timer), "INTEGER " + std::to_string(c.timerAfter));
        EXPECT_EQ(Read("Alpha", wait), "INTEGER " + std::to_string(c.waitAfter));
    }
}

// The IPP page holds the card's IPP values, read when the dialog loads, but is never offered: its
// tab cannot be clicked or stepped to, and OK writes none of its values.
TEST_F(ConfigurationDialogTest, TheIppPageIsNeverOfferedThoughItsReadsSucceed) {
    OpenConsole(kAlphaCard);
    auto dialog = OpenDialog(kAlpha);
    ASSERT_TRUE(loaded_);
    EXPECT_EQ(dialog->ippBoxes[41]->text(), "ipp://Alpha/ipp") << "the reads succeeded";
    QTabWidget* tabs = dialog->Tabs();
    EXPECT_FALSE(tabs->isTabEnabled(frmConfiguration::kIpp));
    tabs->setCurrentIndex(frmConfiguration::kSnmp);
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(frmConfiguration::kIpp).center());
    EXPECT_EQ(tabs->currentIndex(), frmConfiguration::kSnmp) << "a click on the tab";
    for (int page = 0; page < tabs->count(); ++page) {
        QTest::keyClick(tabs, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_NE(tabs->currentIndex(), frmConfiguration::kIpp) << "Ctrl+Tab, " << page + 1 << " times";
    }
    SavePicture(dialog.get(), "frmConfiguration-IPP-not-offered");
    dialog->pbuOK_Click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(Read("Alpha", kPrivate + "12.7.3.0"), "STRING \"Print room\"");
}

TEST_F(ConfigurationDialogTest, ANewAddressLandsTogetherWithTheChangesOfEveryOtherPage) {
    OpenConsole(kAlphaCard);
    auto dialog = OpenDialog(kAlpha);
    ASSERT_TRUE(loaded_);
    dialog->Tabs()->setCurrentIndex(frmConfiguration::kTcpIp);
    Retype(dialog->txtIPAddress->Box(3), "77");
    dialog->txtPrintServerName->setFocus();
    Retype(dialog->txtPrintServerName, "Moved");
    Retype(dialog->txtPrinterName, "Moved Laser");
    dialog->chkEnableTraps->click();
    Retype(dialog->txtSNMP1Name, "alerts");
    TypeAddress(dialog->txtSnmpIP, "127.0.0.9");
    dialog->pbuOK_Click();
    EXPECT_TRUE(boxes_.Shown().empty()) << boxes_.Shown().front().text.toStdString();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    EXPECT_EQ(Read("Alpha", kPrivate + "12.2.5.0"), "IP 127.0.1.77");
    EXPECT_EQ(Read("Alpha", "1.3.6.1.2.1.1.5.0"), "STRING \"Moved\"");
    EXPECT_EQ(Read("Alpha", kPrivate + "12.5.6.0"), "STRING \"Moved Laser\"");
    EXPECT_EQ(Read("Alpha", kPrivate + "12.6.2.2.1.4.1"), "INTEGER 1");
    EXPECT_EQ(FindServer(kAlpha)->ip, "127.0.1.77");
    EXPECT_EQ(FindServer(kAlpha)->name, "Moved");

    // The console reaches the card at its new address.
    dialog = OpenDialog(kAlpha);
    EXPECT_TRUE(loaded_);
    EXPECT_EQ(dialog->txtIPAddress->Text(), "127.0.1.77");
    EXPECT_EQ(dialog->txtSNMP1Name->text(), "alerts");
}

TEST_F(ConfigurationDialogTest, ANewCardWithoutAddressGetsItsFirstOneByBroadcastAndIsThenReachable) {
    OpenConsole("card Fresh mac=00C0DE0000B1 ip=0.0.0.0 protocols=ip category=1\n");
    const QString mac = "00C0DE0000B1";
    ASSERT_NE(FindServer(mac), nullptr);
    EXPECT_EQ(FindServer(mac)->ip, "0.0.0.0");
    auto dialog = OpenDialog(mac);
    ASSERT_TRUE(loaded_) << (boxes_.Shown().empty() ? "" : boxes_.Shown().front().text.toStdString());
    SavePicture(dialog.get(), "frmConfiguration-NewCard");
    dialog->pbuOK_Click();
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "IP address is mandatory for a new print server");
    EXPECT_FALSE(dialog->result() == QDialog::Accepted);
    boxes_.Clear();

    dialog->Tabs()->setCurrentIndex(frmConfiguration::kTcpIp);
    TypeAddress(dialog->txtIPAddress, "127.0.1.50");
    dialog->txtPrintServerName->setFocus();
    Retype(dialog->txtPrintServerName, "Fresh One");
    dialog->pbuOK_Click();
    EXPECT_TRUE(boxes_.Shown().empty()) << boxes_.Shown().front().text.toStdString();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(Read("Fresh", kPrivate + "12.2.5.0"), "IP 127.0.1.50");
    EXPECT_EQ(Read("Fresh", "1.3.6.1.2.1.1.5.0"), "STRING \"Fresh One\"");
    EXPECT_EQ(Read("Fresh", kPrivate + "12.6.1.6.0"), "INTEGER 2") << "configured: no longer new";
    EXPECT_EQ(FindServer(mac)->ip, "127.0.1.50");
    EXPECT_EQ(FindServer(mac)->category & 3u, 2u);

    dialog = OpenDialog(mac);
    EXPECT_TRUE(loaded_);
    EXPECT_EQ(dialog->txtPrintServerName->text(), "Fresh One");
}

TEST_F(ConfigurationDialogTest, FiveTrapDestinationsAndCommunitiesRoundTripAndTheConsolesOwnIsGuarded) {
    OpenConsole(kAlphaCard);
    auto dialog = OpenDialog(kAlpha);
    ASSERT_TRUE(loaded_);
    dialog->Tabs()->setCurrentIndex(frmConfiguration::kSnmp);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        TypeAddress(dialog->txtSnmpIP, "127.0.0." + QString::number(slot));
        Retype(dialog->txtSNMP1Name, "trap" + QString::number(slot));
        if (slot > 2) {  // slots 1 and 2 hold this console's community and "public"
            Retype(dialog->txtSNMP2Name, "name" + QString::number(slot));
            dialog->chkWrite->click();
        }
        dialog->pbuRight->click();
        dialog->pbuRightCN->click();
    }
    EXPECT_EQ(dialog->pnlTraverse->title(), "Address Pair 5") << "stepping past the last slot stays there";
    // A duplicate destination is refused before anything is written.
    dialog->pbuLeft->click();
    TypeAddress(dialog->txtSnmpIP, "127.0.0.1");
    dialog->pbuOK_Click();
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "Unable to duplicate the IP Address");
    EXPECT_EQ(Read("Alpha", kPrivate + "12.6.2.2.1.4.1"), "INTEGER 2");
    boxes_.Clear();
    TypeAddress(dialog->txtSnmpIP, "127.0.0.4");
    dialog->pbuOK_Click();
    EXPECT_TRUE(boxes_.Shown().empty()) << boxes_.Shown().front().text.toStdString();
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const std::string n = std::to_string(slot);
        EXPECT_EQ(Read("Alpha", kPrivate + "12.6.2.2.1.2." + n), "IP 127.0.0." + n);
        EXPECT_EQ(Read("Alpha", kPrivate + "12.6.2.2.1.3." + n), "STRING \"trap" + n + "\"");
        EXPECT_EQ(Read("Alpha", kPrivate + "12.6.2.2.1.4." + n), "INTEGER 1");
        if (slot > 2) {
            EXPECT_EQ(Read("Alpha", kPrivate + "12.6.3.2.1.2." + n), "STRING \"name" + n + "\"");
            EXPECT_EQ(Read("Alpha", kPrivate + "12.6.3.2.1.3." + n), "INTEGER 2");
        }
    }

    // Read back: every slot shows what was written; then slot 3 is emptied and the console's own
    // community renamed, which asks first.
    dialog = OpenDialog(kAlpha);
    ASSERT_TRUE(loaded_);
    EXPECT_EQ(dialog->Traps()[4].community, "trap5");
    EXPECT_EQ(dialog->CommunityList()[2].name, "name3");
    Retype(dialog->txtSNMP2Name, "renamed");
    dialog->pbuRightCN->click();
    dialog->pbuRightCN->click();
    Retype(dialog->txtSNMP2Name, "");
    {
        consoletest::MessageRecorder refuse(kCancel);
        dialog->pbuOK_Click();
        ASSERT_EQ(refuse.Shown().size(), 1u);
        EXPECT_EQ(refuse.Shown()[0].kind, kQuestion);
    }
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(Read("Alpha", kPrivate + "12.6.3.2.1.4.3"), "INTEGER 1") << "nothing written after Cancel";
    // A kept community slot and a removed one.
    Retype(dialog->txtSNMP2Name, "name3");
    dialog->pbuLeftCN->click();
    dialog->pbuLeftCN->click();
    Retype(dialog->txtSNMP2Name, "k!r@o#v$e%t");
    dialog->pbuRightCN->click();
    dialog->pbuRightCN->click();
    Retype(dialog->txtSNMP2Name, "");
    consoletest::MessageRecorder answers;
    dialog->pbuOK_Click();
    EXPECT_TRUE(answers.Shown().empty());
    EXPECT_EQ(Read("Alpha", kPrivate + "12.6.3.2.1.4.3"), "INTEGER 2");
    EXPECT_EQ(Read("Alpha", kPrivate + "12.6.3.2.1.2.1"), "STRING \"k!r@o#v$e%t\"");
}

TEST_F(ConfigurationDialogTest, AFailedReadClosesTheDialogAndAFailedSaveKeepsItOpenWithTheEdits) {
    OpenConsole(kAlphaCard);
    auto dialog = OpenDialog(kAlpha);
    ASSERT_TRUE(loaded_);
    ASSERT_EQ(cards_.Command("fault Alpha ip error 5"), "ok");
    Retype(dialog->txtPrinterName, "Kept");
    Retype(dialog->txtDescription, "Kept too");
    dialog->pbuOK_Click();
    ASSERT_FALSE(boxes_.Shown().empty());
    EXPECT_EQ(boxes_.Shown()[0].text, "The print server is unable to process your request.");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->txtPrinterName->text(), "Kept");
    EXPECT_TRUE(dialog->Rows()[kRowApplePrinter].changed);
    EXPECT_EQ(FindServer(kAlpha)->description, "Print room") << "the store keeps what the card holds";
    boxes_.Clear();

    ASSERT_EQ(cards_.Command("fault Alpha ip clear"), "ok");

    // A refusal at the AppleTalk page (the name is longer than the card takes) after the general
    // settings were written: the dialog stays open with the name, and says why.
    Retype(dialog->txtPrinterName, QString(40, 'n'));
    dialog->pbuOK_Click();
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "The print server is unable to process your request.");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->txtPrinterName->text(), QString(40, 'n'));
    EXPECT_EQ(Read("Alpha", "1.3.6.1.2.1.1.6.0"), "STRING \"Kept too\"");
    boxes_.Clear();

    ASSERT_EQ(cards_.Command("fault Alpha ip error 5"), "ok");
    dialog = OpenDialog(kAlpha);
    EXPECT_FALSE(loaded_);
    EXPECT_FALSE(boxes_.Shown().empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, 2000)) << "closes on being shown";
    ASSERT_EQ(cards_.Command("fault Alpha ip clear"), "ok");
    dialog = OpenDialog(kAlpha);
    EXPECT_TRUE(loaded_);
    EXPECT_EQ(dialog->txtDescription->text(), "Kept too");
}

TEST_F(ConfigurationDialogTest, FrameTypesAlwaysKeepOneChosenAndLeavingUntouchedBoxesWritesNothing) {
    OpenConsole(kAlphaCard);
    auto dialog = OpenDialog(kAlpha);
    ASSERT_TRUE(loaded_);
    dialog->Tabs()->setCurrentIndex(frmConfiguration::kNetWare);
    dialog->chkNetware->click();
    auto& frames = dialog->frameTypes;
    frames[0]->click();  // Auto off with no other type: refused
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "Please, first select the other frame type");
    EXPECT_TRUE(frames[0]->isChecked());
    frames[1]->click();
    frames[4]->click();
    EXPECT_FALSE(frames[0]->isChecked());
    frames[0]->click();  // Auto on clears the explicit types
    EXPECT_FALSE(frames[1]->isChecked() || frames[4]->isChecked());
    frames[3]->click();
    frames[3]->click();  // the last explicit type off: Auto again
    EXPECT_TRUE(frames[0]->isChecked());
    EXPECT_EQ(dialog->Rows()[kRowFrameAuto].value, "2");

    // Focus passing through the address boxes marks nothing.
    dialog->Tabs()->setCurrentIndex(frmConfiguration::kTcpIp);
    for (AddressBoxes* boxes : {dialog->txtIPAddress, dialog->txtSubnet, dialog->txtGateway}) {
        for (int box = 0; box < 4; ++box) {
            boxes->Box(box)->setFocus();
        }
    }
    dialog->txtPrintServerName->setFocus();
    for (int row : {kRowIpAddress, kRowSubnet, kRowGateway}) {
        EXPECT_FALSE(dialog->Rows()[row].changed) << row;
    }
    // An octet typed as "007" is written as 7; three digits hand the focus on.
    dialog->txtGateway->Box(0)->setFocus();
    QTest::keyClicks(dialog->txtGateway->Box(0), "127.");
    EXPECT_TRUE(dialog->txtGateway->Box(1)->hasFocus());
    Retype(dialog->txtGateway->Box(3), "007");
    dialog->txtPrintServerName->setFocus();
    EXPECT_EQ(dialog->txtGateway->Box(3)->text(), "7");
    EXPECT_EQ(dialog->Rows()[kRowGateway].value, "127.0.0.7");
    Retype(dialog->txtSubnet->Box(2), "300");
    boxes_.Clear();
    dialog->pbuOK_Click();
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "Value out of range: Range is   0 -  255");
    EXPECT_TRUE(dialog->txtSubnet->Box(2)->hasFocus());
    EXPECT_EQ(Read("Alpha", kPrivate + "12.2.9.0"), "IP 0.0.0.0");
}

TEST_F(ConfigurationDialogTest, ALongFirmwarePathWithCommasNeitherShiftsNorBlocksTheTcpIpPage) {
    OpenConsole(kAlphaCard);
    Select(kAlpha);
    const QString path = QString("/firmware/a,b,c/") + QString(111, 'x');
    ASSERT_EQ(path.size(), 127);
    ASSERT_EQ(SnmpSet(kAlpha, QString::fromStdString(kPrivate + "12.2.8.0"), "2,127," + path), 0);
    auto dialog = OpenDialog(kAlpha);
    ASSERT_TRUE(loaded_) << "the group answer outgrows the first buffer";
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_EQ(dialog->txtIPAddress->Text(), "127.0.1.1");
    EXPECT_EQ(dialog->txtSubnet->Text(), "255.0.0.0");
    EXPECT_EQ(dialog->txtGateway->Text(), "0.0.0.0");
    EXPECT_EQ(dialog->cmbIPAssignment->currentText(), "Static");
}

// DHCP chosen reaches the card and goes into the factory log; a log that cannot be written is told.
TEST_F(ConfigurationDialogTest, ADhcpChoiceThatCannotBeLoggedSaysSo) {
    OpenConsole(kAlphaCard);
    const QString folder = QFileInfo(FactoryLogPath()).absolutePath();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)) << "the log's folder is a file";
    auto dialog = OpenDialog(kAlpha);
    ASSERT_TRUE(loaded_);
    dialog->Tabs()->setCurrentIndex(frmConfiguration::kTcpIp);
    dialog->cmbIPAssignment->setFocus();
    QTest::keyClick(dialog->cmbIPAssignment, Qt::Key_End);
    ASSERT_EQ(dialog->cmbIPAssignment->currentText(), "DHCP");
    dialog->pbuOK_Click();
    EXPECT_EQ(Read("Alpha", kPrivate + "12.2.1.0"), "INTEGER 4");
    std::vector<std::string> said;
    for (const MessageShown& box : boxes_.Shown()) {
        said.push_back(box.text.toStdString());
    }
    EXPECT_EQ(said, (std::vector<std::string>{
                        "The command was carried out, but it could not be written to the factory log: " +
                        FactoryLogPath().toStdString()}));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

}  // namespace
}  // namespace console
