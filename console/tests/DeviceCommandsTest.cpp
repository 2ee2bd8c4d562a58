// The commands that reach a print server: test page, factory default behind the password gate,
// add by address, the wired dialogs of the properties library; and the alerts dialog with its log.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "console/core/CommandTable.h"
#include "console/core/DeviceAccess.h"
#include "console/core/EngineVersion.h"
#include "console/core/PrinterList.h"
#include "console/core/dialogs/frmLocate.h"
#include "console/core/dialogs/frmNotify.h"
#include "console/properties/frmPrStatus.h"
#include "console/properties/frmStatistics.h"
#include "console/tests/CommandsFixture.h"
#include "console/tests/Typing.h"
#include "tests/Eventually.h"

namespace consoletest {
namespace {

using console::State;

constexpr const char* kLocationOid = "1.3.6.1.2.1.1.6.0";
constexpr const char* kSetsTakenOid = "1.3.6.1.2.1.11.17.0";
constexpr const char* kGetsTakenOid = "1.3.6.1.2.1.11.15.0";
// What comes from the simulator's process (a trap, a card's count): a bound for a loaded machine.
constexpr int kAcrossMs = 60000;

class DeviceCommandsTest : public CommandsFixture {
  protected:
    std::string Location(const char* card) {
        const std::string reply = cards_.Command(std::string("get ") + card + " " + kLocationOid);
        return reply.substr(reply.find(' ') + 1);
    }
    const std::vector<console::MessageShown>& Boxes() const { return boxes_.Shown(); }
    // In the open alerts dialog: the available printer at `printer` monitored for COVER OPEN, with a
    // pop-up and a log in that file.
    static void MonitorCoverOpen(console::frmNotify& dialog, int printer, const QString& logFile) {
        dialog.AvailablePrinters()->item(printer)->setSelected(true);
        dialog.pbuAdd_Click();
        const auto cover = dialog.AvailableAlerts()->findItems("COVER OPEN", Qt::MatchExactly);
        EXPECT_EQ(cover.size(), 1);
        for (QListWidgetItem* item : cover) {
            item->setSelected(true);
        }
        dialog.pbuAddevents_Click();
        dialog.AlertsOn()->setChecked(true);
        dialog.Popup()->setChecked(true);
        dialog.Logging()->setChecked(true);
        dialog.LogFile()->setText(logFile);
    }
    QString LastBox() const { return Boxes().empty() ? QString() : Boxes().back().text; }
    // The texts of the boxes shown, in order.
    std::vector<std::string> Said() const {
        std::vector<std::string> said;
        for (const console::MessageShown& box : Boxes()) {
            said.push_back(box.text.toStdString());
        }
        return said;
    }
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
    EXPECT_EQ(Boxes()[0].text, "No response from print server");
    console::SetPasswordDialog({});
}

TEST_F(DeviceCommandsTest, TestPageToASilentCardSaysTheCardDidNotRespond) {
    StartCards("card Silent mac=00005E420004 ip=127.0.23.4\n");
    OpenConsole();
    ASSERT_EQ(cards_.Command("fault Silent all silent"), "ok");
    Select("00005E420004");
    FromMenu("mnuTestPage");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(LastBox(), "No response from print server");
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

// The address typed as a person types it, dots and all, then Enter: the print server found is the
// one chosen in the list, and the hourglass shows while the card is asked.
TEST_F(DeviceCommandsTest, LocateTakesADottedAddressAndChoosesThePrintServerFound) {
    StartCards(
        "card Dotted mac=00005E480001 ip=127.0.29.1\n"
        "card Slow mac=00005E480002 ip=127.0.29.2\n");
    ASSERT_EQ(cards_.Command("fault Slow all delay 600"), "ok");
    OpenConsole(false);
    const auto locate = [this](const char* typed) {
        OnDialog<console::frmLocate>([typed](console::frmLocate& dialog) {
            dialog.Octet(0)->setFocus();
            TypeAtFocus(typed);
            SavePicture(&dialog, "frmLocate-typed");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            if (dialog.isVisible()) {
                dialog.reject();
            }
        });
        FromMenu("mnuLocate");
    };
    locate("127.0.29.1");
    ASSERT_NE(console::FindServer("00005E480001"), nullptr) << LastBox().toStdString();
    EXPECT_EQ(console_->List()->SelectedMac(), "00005E480001");
    const console::PrinterRow* current = console::CurrentPrinter();
    EXPECT_EQ(current != nullptr ? current->mac.toStdString() : "", "00005E480001");
    EXPECT_TRUE(console_->Action("mnuConfigure")->isEnabled()) << "the next command reaches it";

    // While the slow card is asked the console cannot paint: the hourglass says it is busy.
    const std::int64_t gets = cards_.Number("Slow", kGetsTakenOid);
    std::atomic<int> shape{-1};
    std::thread watcher([&] {
        testsupport::Eventually([&] { return cards_.Number("Slow", kGetsTakenOid) != gets; },
                                std::chrono::milliseconds(kAcrossMs), std::chrono::milliseconds(5));
        // The console waits for the card's answer now.
        const QCursor* cursor = QGuiApplication::overrideCursor();
        shape = cursor != nullptr ? cursor->shape() : Qt::ArrowCursor;
    });
    locate("127.0.29.2");
    watcher.join();
    EXPECT_EQ(shape, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the pointer is back afterwards";
    EXPECT_EQ(console_->List()->SelectedMac(), "00005E480002");
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
        MonitorCoverOpen(dialog, 1, "alerts.log");
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Boxes().empty(); }, kAcrossMs));
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
    // The alert is logged before it beeps: once its line is in, a box would have come too.
    const auto coverOpenLines = [&log] {
        QFile logged(log.fileName());
        return logged.open(QIODevice::ReadOnly) ? logged.readAll().count("\"COVER OPEN\"") : 0;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return coverOpenLines() == 2; }, kAcrossMs)) << "the alert is logged";
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

// A factory default that reached the card says so, and says too when its line could not go into
// the factory log.
TEST_F(DeviceCommandsTest, AFactoryDefaultThatCannotBeLoggedSaysSo) {
    StartCards("card Open mac=00005E4E0001 ip=127.0.36.1\n");
    OpenConsole();
    const QString folder = QFileInfo(console::FactoryLogPath()).absolutePath();
    const struct {
        const char* what;
        std::function<void()> spoil;
    } unwritable[] = {
        {"the log's folder is a file",
         [&] {
             ASSERT_TRUE(QDir(folder).removeRecursively());
             QFile blocker(folder);
             ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
         }},
        {"the disk is full",
         [&] {
             ASSERT_TRUE(QFile::remove(folder) && QDir().mkpath(folder));
             ASSERT_TRUE(QFileInfo::exists("/dev/full"));
             ASSERT_TRUE(QFile::link("/dev/full", console::FactoryLogPath()));
         }},
    };
    for (const auto& c : unwritable) {
        SCOPED_TRACE(c.what);
        c.spoil();
        Select("00005E4E0001");
        boxes_.Clear();
        FromMenu("mnuFactory");
        EXPECT_EQ(Said(),
                  (std::vector<std::string>{
                      "Do you want to initialize the Ostrel( Open)?", "Factory Default is success",
                      "The command was carried out, but it could not be written to the factory log: " +
                          console::FactoryLogPath().toStdString()}));
    }
}

// Only alerts whose line went into the log are shown as logged: while the log cannot be written,
// the log page keeps its rows and its count, and the user is told once, not once per alert, until
// a line goes in again. A log that cannot be removed is not shown as cleared.
TEST_F(DeviceCommandsTest, OnlyAlertsWrittenToTheLogAreShownAsLogged) {
    StartCards("card Hall mac=00005E4D0001 ip=127.0.35.1\n");
    OpenConsole();
    const QString folder = data_.filePath("logs");
    const QString file = folder + "/alerts.log";
    OnDialog<console::frmNotify>([&](console::frmNotify& dialog) {
        MonitorCoverOpen(dialog, 0, file);
        dialog.Sound()->setChecked(true);
        dialog.pbuOK_Click();
    });
    FromMenu("mnuNotify");
    ASSERT_TRUE(QDir(folder).exists());
    // The card goes to `code`; the console has it once its row holds it.
    const auto status = [&](int code) {
        ASSERT_EQ(cards_.Command("status Hall " + std::to_string(code)), "ok");
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return console::FindServer("00005E4D0001")->status == code; }, kAcrossMs));
    };
    const auto coverOpen = [&] {
        status(0);
        status(68);
    };
    const struct {
        const char* what;
        std::function<void()> spoil;
        std::function<void()> mend;
    } unwritable[] = {
        {"the log's folder is removed", [&] { ASSERT_TRUE(QDir(folder).removeRecursively()); },
         [&] { ASSERT_TRUE(QDir().mkpath(folder)); }},
        {"the disk is full",
         [&] {
             ASSERT_TRUE(QFileInfo::exists("/dev/full"));
             QFile::remove(file);
             ASSERT_TRUE(QFile::link("/dev/full", file));
         },
         [&] { ASSERT_TRUE(QFile::remove(file)); }},
    };
    const QString told =
        "Alerts cannot be written to the alert log and are not logged until they can be: " + file;
    // Checked in the open dialog, which is closed whatever the checks find.
    const auto check = [&](console::frmNotify& dialog) {
        const auto logged = [&dialog] { return dialog.Log()->topLevelItemCount(); };
        boxes_.Clear();
        coverOpen();
        ASSERT_EQ(logged(), 1) << "a line written shows at once";
        for (const auto& c : unwritable) {
            SCOPED_TRACE(c.what);
            const int rows = logged();
            c.spoil();
            boxes_.Clear();
            for (int alert = 0; alert < 3; ++alert) {
                coverOpen();
            }
            EXPECT_EQ(logged(), rows) << "no row for a line not written";
            EXPECT_EQ(dialog.LoggedCount()->text().toStdString(),
                      "Number of Logged Messages: " + std::to_string(rows));
            EXPECT_EQ(Said(), std::vector<std::string>{told.toStdString()}) << "told once for three alerts";
            c.mend();
            boxes_.Clear();
            coverOpen();
            EXPECT_EQ(logged(), rows + 1) << "logged again once the log can be written";
            EXPECT_TRUE(Boxes().empty()) << LastBox().toStdString();
        }
        // Something that cannot be removed has taken the log's name: Clear keeps what it shows.
        const int rows = logged();
        ASSERT_TRUE(QFile::remove(file));
        ASSERT_TRUE(QDir().mkpath(file + "/kept"));
        boxes_.Clear();
        dialog.pbuClear_Click();
        EXPECT_EQ(logged(), rows);
        EXPECT_EQ(dialog.LoggedCount()->text().toStdString(),
                  "Number of Logged Messages: " + std::to_string(rows));
        EXPECT_TRUE(dialog.ClearLog()->isEnabled());
        EXPECT_EQ(Said(),
                  (std::vector<std::string>{
                      "Clear Log file? ",
                      "The alert log could not be removed; it is kept as it is: " + file.toStdString()}));
    };
    OnDialog<console::frmNotify>([&](console::frmNotify& dialog) {
        check(dialog);
        dialog.reject();
    });
    FromMenu("mnuNotify");
}

// The alert pop-up as a person sees it: a short alert text still leaves room for the whole title
// beside the window's icon and its three buttons.
TEST_F(DeviceCommandsTest, TheAlertPopUpShowsItsWholeTitle) {
    StartCards("card Hall mac=00005E4C0001 ip=127.0.34.1 status=68\n");
    OpenConsole();
    console::FindServer("00005E4C0001")->notify = true;
    State().options.notifyFlags = QString(40, '1');
    console::SetMessageHook({});
    int width = 0;
    int needed = 0;
    OnDialog<QMessageBox>([&](QMessageBox& box) {
        const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
        needed = metrics.horizontalAdvance(box.windowTitle()) +
                 4 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
        width = box.width();
        EXPECT_EQ(box.windowTitle(), "Quillmar");
        EXPECT_EQ(box.text(), "Hall : READY");
        SavePicture(&box, "alert-pop-up");
        box.accept();
    });
    ASSERT_EQ(cards_.Command("status Hall 0"), "ok");
    ASSERT_TRUE(QTest::qWaitFor([&] { return width != 0; }, kAcrossMs));
    EXPECT_GE(width, needed) << "room for the title";
}

// With logging off the log file's name is not asked for: OK closes and keeps the text as typed.
TEST_F(DeviceCommandsTest, AlertsOkAsksForNoLogFileNameWhileLoggingIsOff) {
    StartCards("card Quiet mac=00005E4B0001 ip=127.0.32.1\n");
    OpenConsole();
    bool closed = false;
    OnDialog<console::frmNotify>([&](console::frmNotify& dialog) {
        dialog.Logging()->setChecked(false);
        dialog.LogFile()->clear();
        dialog.pbuOK_Click();
        closed = !dialog.isVisible();
        if (!closed) {
            dialog.reject();
        }
    });
    FromMenu("mnuNotify");
    EXPECT_TRUE(closed);
    EXPECT_TRUE(Boxes().empty()) << LastBox().toStdString();
    EXPECT_FALSE(State().options.alertLogOn);
    EXPECT_EQ(State().options.alertLogFile, "");
}

// A print server's name is whatever its card says, line breaks included: its alerts log under that
// name and read back exactly.
TEST_F(DeviceCommandsTest, AnAlertOfANameWithLineBreaksReadsBackExactly) {
    StartCards("card Desk mac=00005E4A0001 ip=127.0.31.1\n");
    OpenConsole();
    const QString name = "Desk\r\nTwo";
    ASSERT_EQ(console::SnmpSet("00005E4A0001", "1.3.6.1.2.1.1.5.0", "2,10," + name), 0);
    FromKey(Qt::Key_F5);
    ASSERT_NE(console::FindServer("00005E4A0001"), nullptr);
    ASSERT_EQ(console::FindServer("00005E4A0001")->name, name);
    OnDialog<console::frmNotify>([](console::frmNotify& dialog) {
        MonitorCoverOpen(dialog, 0, "breaks.log");
        dialog.pbuOK_Click();
    });
    FromMenu("mnuNotify");
    boxes_.Clear();
    ASSERT_EQ(cards_.Command("status 00005E4A0001 68"), "ok");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Boxes().empty(); }, kAcrossMs));
    boxes_.Clear();
    OnDialog<console::frmNotify>([&](console::frmNotify& dialog) {
        EXPECT_EQ(dialog.Log()->topLevelItemCount(), 1);
        if (dialog.Log()->topLevelItemCount() == 1) {
            EXPECT_EQ(dialog.Log()->topLevelItem(0)->text(0), name);
            EXPECT_EQ(dialog.Log()->topLevelItem(0)->text(2), "COVER OPEN");
        }
        dialog.Tabs()->setCurrentIndex(2);
        SavePicture(&dialog, "frmNotify-log-line-breaks");
        dialog.reject();
    });
    FromMenu("mnuNotify");
    EXPECT_TRUE(Boxes().empty()) << "nothing damaged: " << LastBox().toStdString();
}

}  // namespace
}  // namespace consoletest
