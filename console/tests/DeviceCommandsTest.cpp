// The commands that reach a print server: test page, factory default behind the password gate,
// add by address, the wired dialogs of the properties library; and the alerts dialog with its log.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTreeWidget>

#include <chrono>

#include "console/core/CommandTable.h"
#include "console/core/DeviceAccess.h"
#include "console/core/EngineVersion.h"
#include "console/core/PrinterList.h"
#include "console/core/dialogs/frmLocate.h"
#include "console/core/dialogs/frmNotify.h"
#include "console/properties/frmPrStatus.h"
#include "console/properties/frmStatistics.h"
#include "console/tests/CommandsFixture.h"

namespace consoletest {
namespace {

using console::State;

constexpr const char* kLocationOid = "1.3.6.1.2.1.1.6.0";
constexpr const char* kSetsTakenOid = "1.3.6.1.2.1.11.17.0";

class DeviceCommandsTest : public CommandsFixture {
  protected:
    std::string Location(const char* card) {
        const std::string reply = cards_.Command(std::string("get ") + card + " " + kLocationOid);
        return reply.substr(reply.find(' ') + 1);
    }
    const std::vector<console::MessageShown>& Boxes() const { return boxes_.Shown(); }
    QString LastBox() const { return Boxes().empty() ? QString() : Boxes().back().text; }
};

TEST_F(DeviceCommandsTest, TestPageAndFactoryDefaultReachTheCardBehindThePasswordGate) {
    StartCards(
        "card Open mac=00005E420001 ip=127.0.23.1\n"
        "card Guarded mac=00005E420002 ip=127.0.23.2 password=secret\n"
        "card Gone mac=00005E420003 ip=127.0.23.3\n");
    OpenConsole();
    ASSERT_EQ(console_->List()->Model()->rowCount(), 3);

    // Test page from the menu, the tool bar and the pop-up menu: each set reaches the card.
    Select("00005E420001");
    const std::int64_t sets = cards_.Number("Open", kSetsTakenOid);
    FromMenu("mnuTestPage");
    FromToolBar("mnuTestPage");
    FromMenu("mnuPage");
    EXPECT_EQ(cards_.Number("Open", kSetsTakenOid), sets + 3);
    ASSERT_EQ(Boxes().size(), 3u);
    EXPECT_EQ(LastBox(), "Test Page Sent! ");
    console_->List()->SelectMac("");
    console_->List()->DetailView()->clearSelection();
    boxes_.Clear();
    FromMenu("mnuFactory");
    FromMenu("mnuTestPage");
    EXPECT_TRUE(Boxes().empty()) << "no row, no command";

    // Factory default on an open card: asked, sent, logged; the card's settings come back.
    ASSERT_EQ(cards_.Command(std::string("put Open ") + kLocationOid + " text Moved"), "ok");
    Select("00005E420001");
    FromMenu("mnuFactory");
    ASSERT_GE(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].text, "Do you want to initialize the Ostrel( Open)?");
    EXPECT_EQ(LastBox(), "Factory Default is success");
    EXPECT_EQ(Location("Open"), "STRING \"Print room\"");
    QFile log(console::FactoryLogPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains("Factory Default Command is proceeded in Open"));

    // A protected card: the gate's answer decides; a wrong password sends nothing.
    ASSERT_EQ(cards_.Command(std::string("put Guarded ") + kLocationOid + " text Moved"), "ok");
    QString typed = "wrong";
    console::SetPasswordDialog([&typed](QWidget*) {
        console::GetPassword(1);
        return typed == State().currentPassword;
    });
    Select("00005E420002");
    boxes_.Clear();
    FromMenu("mnuFactory");
    EXPECT_TRUE(Boxes().empty()) << "refused without a message of its own";
    EXPECT_EQ(Location("Guarded"), "STRING \"Moved\"");
    typed = "secret";
    FromMenu("mnuFactory");
    EXPECT_EQ(LastBox(), "Factory Default is success");
    EXPECT_EQ(Location("Guarded"), "STRING \"Print room\"");

    // A card whose protection cannot be read is never reset.
    ASSERT_EQ(cards_.Command("fault Gone all silent"), "ok");
    Select("00005E420003");
    boxes_.Clear();
    FromMenu("mnuFactory");
    ASSERT_EQ(Boxes().size(), 1u) << "only the failure of the read";
    EXPECT_NE(Boxes()[0].text.indexOf("did not answer"), -1) << Boxes()[0].text.toStdString();
    console::SetPasswordDialog({});
}

TEST_F(DeviceCommandsTest, WiredDialogsOpenFromMenuToolBarAndKey) {
    StartCards("card Status mac=00005E430001 ip=127.0.24.1\n");
    OpenConsole();
    Select("00005E430001");
    int shown = 0;
    for (int way = 0; way < 3; ++way) {
        OnDialog<console::frmPrStatus>([&](console::frmPrStatus& dialog) {
            ++shown;
            dialog.reject();
        });
        if (way == 0) {
            FromMenu("mnuPrStatus");
        } else if (way == 1) {
            FromToolBar("mnuPrStatus");
        } else {
            FromKey(Qt::Key_F6);
        }
        EXPECT_EQ(shown, way + 1) << way;
        EXPECT_FALSE(State().commandBusy);
    }
    OnDialog<console::frmStatistics>([&](console::frmStatistics& dialog) {
        // A second command while the first dialog is open is refused silently.
        FromMenu("mnuPrStatus");
        ++shown;
        dialog.reject();
    });
    FromMenu("mnuProtocolStatistics");
    EXPECT_EQ(shown, 4);
}

TEST_F(DeviceCommandsTest, AddByAddressStoresPollsAndRegistersThePrintServer) {
    StartCards(
        "card ByIp mac=00005E440001 ip=127.0.25.1 status=3\n"
        "card ByIpx mac=00005E440002 ip=127.0.25.2 protocols=ipx\n"
        "card ByMac mac=00005E440003 ip=127.0.25.3 protocols=dlc\n"
        "card ByName mac=00005E440004 ip=127.0.0.1 protocols=ip\n"
        "card Other mac=00005E440005 ip=127.0.25.5 category=3\n"
        "card Quiet mac=00005E440006 ip=127.0.25.6\n");
    ASSERT_EQ(cards_.Command("fault Quiet all silent"), "ok");
    OpenConsole(false);
    ASSERT_EQ(console_->List()->Model()->rowCount(), 0);
    const auto locate = [this](int kind, const std::function<void(console::frmLocate&)>& fill, bool toolBar) {
        OnDialog<console::frmLocate>([kind, fill](console::frmLocate& dialog) {
            dialog.Protocol()->setCurrentIndex(kind);
            fill(dialog);
            dialog.pbuOK_Click();
            if (dialog.isVisible()) {
                dialog.reject();
            }
        });
        toolBar ? FromToolBar("mnuLocate") : FromMenu("mnuLocate");
    };
    locate(
        console::frmLocate::kIpIndex,
        [](console::frmLocate& dialog) {
            dialog.Octet(0)->setText("127");
            dialog.Octet(1)->setText("000");
            dialog.Octet(2)->setText("025");
            dialog.Octet(3)->setText("01");
            SavePicture(&dialog, "frmLocate");
        },
        true);
    ASSERT_NE(console::FindServer("00005E440001"), nullptr) << LastBox().toStdString();
    EXPECT_EQ(console::FindServer("00005E440001")->status, 3) << "polled at once";
    EXPECT_EQ(console_->List()->Model()->rowCount(), 1);

    locate(
        console::frmLocate::kIpxIndex,
        [](console::frmLocate& dialog) {
            QTest::keyClicks(dialog.IpxNetwork(), "facade");
            QTest::keyClicks(dialog.IpxNode(), "5e44*0002");  // the wildcard is refused as typed
            EXPECT_EQ(dialog.IpxNode()->text(), "5e440002");
        },
        false);
    EXPECT_NE(console::FindServer("00005E440002"), nullptr) << LastBox().toStdString();
    locate(
        console::frmLocate::kMacIndex,
        [](console::frmLocate& dialog) { QTest::keyClicks(dialog.MacAddress(), "5e440003"); }, false);
    EXPECT_NE(console::FindServer("00005E440003"), nullptr) << LastBox().toStdString();
    locate(
        console::frmLocate::kDnsIndex,
        [](console::frmLocate& dialog) { dialog.DnsName()->setText("localhost"); }, false);
    EXPECT_NE(console::FindServer("00005E440004"), nullptr) << LastBox().toStdString();
    EXPECT_EQ(console_->List()->Model()->rowCount(), 4);

    // Not a print server of this kind: the library's reason. Silent: said within the time-out.
    boxes_.Clear();
    locate(
        console::frmLocate::kIpIndex,
        [](console::frmLocate& dialog) {
            for (int i = 0; i < 4; ++i) {
                dialog.Octet(i)->setText(QStringList{"127", "0", "25", "5"}[i]);
            }
        },
        false);
    EXPECT_EQ(LastBox(), "The device is not a print server.");
    const auto start = std::chrono::steady_clock::now();
    locate(
        console::frmLocate::kIpIndex,
        [](console::frmLocate& dialog) {
            for (int i = 0; i < 4; ++i) {
                dialog.Octet(i)->setText(QStringList{"127", "0", "25", "6"}[i]);
            }
        },
        false);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
    EXPECT_EQ(LastBox(), "Unable to contact the Print Server");
    boxes_.Clear();
    locate(
        console::frmLocate::kIpIndex, [](console::frmLocate& dialog) { dialog.Octet(0)->setText("256"); },
        false);
    EXPECT_EQ(LastBox(), "Value out of range: Range is   0 -  255");
    EXPECT_EQ(console_->List()->Model()->rowCount(), 4);
}

TEST_F(DeviceCommandsTest, AlertsFlagPrintersByAddressAndTheLogReadsBack) {
    StartCards(
        "card Twin mac=00005E450001 ip=127.0.26.1\n"
        "card Twin2 mac=00005E450002 ip=127.0.26.2\n");
    Rename("Twin2", "Twin");
    OpenConsole();
    // The second Twin only, COVER OPEN only, a pop-up and a log.
    OnDialog<console::frmNotify>([](console::frmNotify& dialog) {
        EXPECT_FALSE(dialog.ClearLog()->isEnabled()) << "no log yet";
        ASSERT_EQ(dialog.AvailablePrinters()->count(), 2);
        dialog.AvailablePrinters()->item(1)->setSelected(true);
        dialog.pbuAdd_Click();
        const auto cover = dialog.AvailableAlerts()->findItems("COVER OPEN", Qt::MatchExactly);
        ASSERT_EQ(cover.size(), 1);
        cover[0]->setSelected(true);
        dialog.pbuAddevents_Click();
        dialog.AlertsOn()->setChecked(true);
        dialog.Popup()->setChecked(true);
        dialog.Logging()->setChecked(true);
        dialog.LogFile()->setText("alerts.log");
        SavePicture(&dialog, "frmNotify-general");
        dialog.Tabs()->setCurrentIndex(1);
        SavePicture(&dialog, "frmNotify-alerts");
        dialog.pbuOK_Click();
    });
    FromMenu("mnuNotify");
    EXPECT_FALSE(console::FindServer("00005E450001")->notify);
    EXPECT_TRUE(console::FindServer("00005E450002")->notify);
    EXPECT_EQ(State().options.notifyFlags.count('1'), 1);
    boxes_.Clear();
    ASSERT_EQ(cards_.Command("status 00005E450001 68"), "ok");
    ASSERT_EQ(cards_.Command("status 00005E450002 68"), "ok");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Boxes().empty(); }, 5000));
    QTest::qWait(300);
    ASSERT_EQ(Boxes().size(), 1u) << "the unmonitored namesake raises nothing";
    EXPECT_EQ(LastBox(), "Twin : COVER OPEN");

    // Sound only; a damaged line is skipped with a warning; the log reads back and clears.
    QFile log(data_.filePath("vorlane/alerts.log"));
    ASSERT_TRUE(log.open(QIODevice::Append | QIODevice::Text));
    log.write("damaged line\n");
    log.close();
    boxes_.Clear();
    OnDialog<console::frmNotify>([this](console::frmNotify& dialog) {
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_TRUE(Boxes()[0].text.endsWith(" 1"));
        EXPECT_EQ(dialog.Log()->topLevelItemCount(), 1);
        EXPECT_EQ(dialog.Log()->topLevelItem(0)->text(2), "COVER OPEN");
        EXPECT_EQ(dialog.LoggedCount()->text(), "Number of Logged Messages: 1");
        dialog.Sound()->setChecked(true);
        dialog.LogFile()->setText("\n");
        dialog.pbuOK_Click();
        EXPECT_TRUE(dialog.isVisible()) << "an unusable log file name is not stored";
        dialog.LogFile()->setText("alerts.log");
        dialog.Tabs()->setCurrentIndex(2);
        SavePicture(&dialog, "frmNotify-log");
        dialog.pbuOK_Click();
    });
    FromMenu("mnuNotify");
    EXPECT_EQ(State().alertStyle, 0);
    boxes_.Clear();
    ASSERT_EQ(cards_.Command("status 00005E450002 0"), "ok");
    ASSERT_EQ(cards_.Command("status 00005E450002 68"), "ok");
    QTest::qWait(1500);
    EXPECT_TRUE(Boxes().empty()) << "a beep, no box";
    OnDialog<console::frmNotify>([](console::frmNotify& dialog) {
        EXPECT_EQ(dialog.Log()->topLevelItemCount(), 2);
        dialog.pbuClear_Click();
        EXPECT_EQ(dialog.Log()->topLevelItemCount(), 0);
        dialog.reject();
    });
    FromMenu("mnuNotify");
    EXPECT_FALSE(QFile::exists(data_.filePath("vorlane/alerts.log")));
}

}  // namespace
}  // namespace consoletest
