// The real console, headless, against simulated print servers in the test network: start-up and
// the first detection with its progress dialog, the list with status texts and icons, a status
// change that reaches its row and raises the chosen alert and log line, the timers, one instance
// only, and display options that come back at the next start. Pictures of each form are saved
// into the build folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <optional>
#include <string>
#include <vector>

#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"
#include "console/core/EngineVersion.h"
#include "console/core/FirmwareServerWindow.h"
#include "console/core/NewLook.h"
#include "console/core/PrintServerTable.h"
#include "console/core/PrinterList.h"
#include "console/core/frmAboutBox.h"
#include "console/core/frmBanner.h"
#include "console/core/frmProgress.h"
#include "console/tests/ConsoleFixture.h"
#include "firmware/tests/support/ChildProcess.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace console {
namespace {

constexpr const char* kGetsTakenOid = "1.3.6.1.2.1.11.15.0";
// What comes from another process (a trap, a card's count, a program's end): a bound for a loaded
// machine.
constexpr int kAcrossMs = 60000;

using consoletest::SavePicture;

// The detection dialog while the library still waits for answers, when one is up.
frmProgress* DetectingProgress() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* progress = qobject_cast<frmProgress*>(widget);
        if (progress != nullptr && progress->isVisible() && !progress->DetectionFinished()) {
            return progress;
        }
    }
    return nullptr;
}

std::optional<std::string> StoredOptions() {
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kDisplayKey);
    return key ? key->ReadText("Options") : std::nullopt;
}

void StoreOptions(const QString& text) {
    plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kDisplayKey)
        ->WriteText("Options", text.toStdString());
}

// Options that show the columns a person needs, every status alerting, and the log on.
DisplayOptions WorkingOptions() {
    DisplayOptions options;
    for (std::size_t column = 0; column <= kMacColumn; ++column) {
        options.columns[column] = {true, column == kNameColumn ? 2100 : 1800};
    }
    options.columns[kPortColumn].visible = false;
    options.top = 1500;
    options.left = 1500;
    options.width = 13500;
    options.height = 8100;
    options.notifyFlags = QString(40, '1');
    options.alertLogOn = true;
    options.alertLogFile = "alerts, today.log";
    options.filterText = "";
    return options;
}

class ConsoleWindowTest : public consoletest::ConsoleFixture {
  protected:
    QStandardItemModel* Model() const { return console_->List()->Model(); }
    int RowOf(const QString& name) const {
        const QList<QStandardItem*> found = Model()->findItems(name);
        return found.isEmpty() ? -1 : found.front()->row();
    }
    QString StatusOf(const QString& name) const {
        const int row = RowOf(name);
        return row < 0 ? QString() : Model()->item(row, 2)->text();
    }
};

TEST_F(ConsoleWindowTest, FirstDetectionListsEveryPrintServerAndAStatusChangeRaisesItsAlert) {
    StartCards(
        "cards 100 Ip mac=00005E300001 ip=127.0.3.1 protocols=ip engine=mixed status=0\n"
        "cards 50 Ipx mac=00005E310001 ip=127.0.5.1 protocols=ipx status=3\n"
        "cards 50 Dlc mac=00005E320001 ip=127.0.6.1 protocols=dlc status=68\n");
    StoreOptions(BuildDisplayOptions(WorkingOptions()));

    // The progress dialog while the library still waits for answers: it is up, lists the requests
    // and answers as they come, and is painted. A loaded machine may take its time to get there.
    int linesDuringDetection = 0;
    QTimer during;
    during.setInterval(10);
    QObject::connect(&during, &QTimer::timeout, [&] {
        frmProgress* progress = DetectingProgress();
        if (progress != nullptr) {
            linesDuringDetection = progress->Lines()->count();
            if (linesDuringDetection >= 4) {
                SavePicture(progress, "frmProgress");
                during.stop();
            }
        }
    });
    OpenConsole(false);
    auto* banner = console_->findChild<frmBanner*>();
    ASSERT_NE(banner, nullptr);
    SavePicture(banner, "frmBanner");
    during.start();
    console_->FirstDetection();
    EXPECT_GE(linesDuringDetection, 4) << "the requests sent were listed while the detection ran";

    ASSERT_EQ(Model()->rowCount(), 200);
    EXPECT_EQ(StatusOf("Ip-7"), "READY");
    EXPECT_EQ(StatusOf("Ipx-3"), "PRINTING");
    EXPECT_EQ(StatusOf("Dlc-50"), "COVER OPEN");
    EXPECT_EQ(Model()->item(RowOf("Dlc-1"), 5)->text(), "00005E320001");
    EXPECT_TRUE(boxes_.Shown().empty());
    console_->List()->SelectMac("00005E300002");
    SavePicture(console_.get(), "NewLook");
    console_->Action("mnuLargeIcons")->trigger();
    SavePicture(console_.get(), "NewLook-large-icons");
    console_->Action("mnuList")->trigger();

    // A monitored print server changes its status: row, icon, alert box and log line.
    FindServer("00005e310004")->notify = true;
    const qint64 icon = Model()->item(RowOf("Ipx-4"), 0)->icon().cacheKey();
    ASSERT_EQ(cards_.Command("status Ipx-4 68"), "ok");
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusOf("Ipx-4") == "COVER OPEN"; }, kAcrossMs));
    EXPECT_NE(Model()->item(RowOf("Ipx-4"), 0)->icon().cacheKey(), icon);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "Ipx-4 : COVER OPEN");
    EXPECT_EQ(boxes_.Shown()[0].title, "Quillmar");
    QFile log(data_.filePath("vorlane/alerts, today.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString line = QString::fromUtf8(log.readAll()).trimmed();
    EXPECT_TRUE(line.startsWith("\"Ipx-4\",\"")) << line.toStdString();
    EXPECT_TRUE(line.endsWith("\",\"COVER OPEN\""));

    // A print server the filter hides still has its status kept; an unmonitored one raises nothing.
    State().options.filterKind = 6;
    State().options.filterText = "00005E300001";
    console_->outTreeList_Click();
    ASSERT_EQ(Model()->rowCount(), 1);
    ASSERT_EQ(cards_.Command("status Dlc-2 1025"), "ok");
    ASSERT_TRUE(QTest::qWaitFor([&] { return FindServer("00005E320002")->status == 1025; }, kAcrossMs));
    console_->Action("mnuFilter1")->trigger();
    EXPECT_EQ(Model()->rowCount(), 200);
    EXPECT_EQ(StatusOf("Dlc-2"), "LOAD 1ST TRAY");
    EXPECT_EQ(boxes_.Shown().size(), 1u);

    // The keep-alive timer's tick reaches every detected print server.
    const std::int64_t before = cards_.Number("Ip-1", kGetsTakenOid);
    console_->tmrTrapKeeper_Timer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return cards_.Number("Ip-1", kGetsTakenOid) > before; }, kAcrossMs));

    // An alert that comes while another is on the screen waits for it: boxes never nest.
    FindServer("00005E310005")->notify = true;
    FindServer("00005E310006")->notify = true;
    int depth = 0;
    int deepest = 0;
    std::vector<QString> alerts;
    SetMessageHook([&](const MessageShown& shown) {
        deepest = std::max(deepest, ++depth);
        alerts.push_back(shown.text);
        if (alerts.size() == 1) {
            console_->txtTrapHandle_Change("1,00FACADE00005E310006,3");
        }
        --depth;
        return static_cast<int>(kOk);
    });
    console_->txtTrapHandle_Change("1,00facade00005e310005,68");
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(alerts, (std::vector<QString>{"Ipx-5 : COVER OPEN", "Ipx-6 : PRINTING"}));
    EXPECT_EQ(StatusOf("Ipx-6"), "PRINTING");
}

TEST_F(ConsoleWindowTest, OptionsComeBackAtTheNextStartAndADamagedTextStillStarts) {
    StartCards("cards 3 Room mac=00005E330001 ip=127.0.7.1\n");
    OpenConsole();  // a fresh store: the default options
    EXPECT_EQ(Model()->rowCount(), 3);
    EXPECT_TRUE(boxes_.Shown().empty());
    // What the dialogs own, then the window as a person leaves it.
    DisplayOptions& options = State().options;
    options.sortColumn = 4;
    options.sortDescending = true;
    options.filterKind = 1;
    options.filterText = "Room-*, or \"other\"";
    options.alertLogFile = "C:\\logs, \"old\".dat";
    options.jobQueueWidths = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    options.columns[kIpxColumn].visible = false;
    console_->List()->FillPrinterList(false);
    console_->List()->DetailView()->setColumnWidth(0, 230);
    console_->move(60, 40);
    console_->resize(700, 500);
    console_->Action("mnuStatusBar")->trigger();
    console_->Action("mnuLargeIcons")->trigger();
    CloseConsole();
    const std::string stored = StoredOptions().value_or("");
    const std::optional<DisplayOptions> written = ParseDisplayOptions(QString::fromStdString(stored));
    ASSERT_TRUE(written.has_value()) << stored;
    EXPECT_EQ(written->left, 60 * 15);
    EXPECT_EQ(written->filterText, "Room-*, or \"other\"");
    EXPECT_EQ(written->alertLogFile, "C:\\logs, \"old\".dat");
    EXPECT_TRUE(written->sortDescending);
    EXPECT_EQ(written->sortColumn, 4);
    EXPECT_FALSE(written->columns[kIpxColumn].visible);
    EXPECT_EQ(written->columns[kNameColumn].width, 230 * 15);

    OpenConsole();
    EXPECT_TRUE(State().options == *written) << BuildDisplayOptions(State().options).toStdString();
    EXPECT_EQ(console_->pos(), QPoint(60, 40));
    EXPECT_EQ(console_->size(), QSize(700, 500));
    EXPECT_EQ(console_->StatusPanel(2)->text(), "Filters : On");
    EXPECT_FALSE(console_->statusBar()->isVisible());
    EXPECT_TRUE(console_->List()->IconView()->isVisible());
    EXPECT_EQ(Model()->rowCount(), 0) << "no name matches the stored filter";
    EXPECT_EQ(Model()->columnCount(), 5);
    EXPECT_EQ(console_->List()->DetailView()->columnWidth(0), 230);
    CloseConsole();
    EXPECT_EQ(StoredOptions(), stored) << "a second round changes nothing";

    // A window stored on a screen this display does not have opens centred on this one.
    DisplayOptions elsewhere = *written;
    elsewhere.left = 2300 * 15;
    StoreOptions(BuildDisplayOptions(elsewhere));
    OpenConsole();
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(console_->geometry()));
    CloseConsole();

    StoreOptions("top,left,\"unclosed");
    OpenConsole();
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].title, "System Error");
    EXPECT_TRUE(State().options.columns == ParseDisplayOptions(kDefaultDisplayOptions)->columns);
    EXPECT_EQ(Model()->rowCount(), 3);
}

// A long filter text and log path make the stored text outgrow the first read's room: it comes back
// whole, and the library starts as it always does.
TEST_F(ConsoleWindowTest, OptionsLongerThanTheFirstReadComeBackWhole) {
    StartCards("card Long mac=00005E340001 ip=127.0.8.1\n");
    OpenConsole(false);
    State().options.filterText = "Room-" + QString(3000, 'x') + ", \"wing\"";
    State().options.alertLogFile = "/var/log/" + QString(2000, 'y') + ".log";
    CloseConsole();
    ASSERT_GT(StoredOptions().value_or("").size(), 4095u);
    OpenConsole();
    EXPECT_TRUE(boxes_.Shown().empty()) << boxes_.Shown().front().text.toStdString();
    EXPECT_EQ(State().options.filterText, "Room-" + QString(3000, 'x') + ", \"wing\"");
    EXPECT_EQ(State().options.alertLogFile.size(), 2013);
    EXPECT_EQ(console_->StatusPanel(2)->text(), "Filters : Off");
    // The library started whole: the status notices of the card come in.
    ASSERT_EQ(cards_.Command("status Long 68"), "ok");
    EXPECT_TRUE(QTest::qWaitFor([&] { return StatusOf("Long") == "COVER OPEN"; }, kAcrossMs));
}

// A text stored by an older console gives a descending order as the column doubled: the list opens
// in that order.
TEST_F(ConsoleWindowTest, AnOlderDescendingSortOpensDescending) {
    StartCards("cards 3 Order mac=00005E350001 ip=127.0.9.1\n");
    StoreOptions("1605,1035,9705,14535,63,15,255,8,0,3,2,*4*,log.dat,2100,1500,1800,1500,2700,1800,0,60,");
    OpenConsole();
    EXPECT_EQ(State().options.sortColumn, 4);
    EXPECT_TRUE(State().options.sortDescending);
    ASSERT_EQ(Model()->rowCount(), 3);
    QStringList addresses;
    for (int row = 0; row < 3; ++row) {
        addresses << Model()->item(row, kIpColumn)->text();
    }
    EXPECT_EQ(addresses, (QStringList{"127.0.9.3", "127.0.9.2", "127.0.9.1"}));
}

// The program's start: the first detection waits for the splash to have been seen for its time,
// or to be closed by a key.
TEST_F(ConsoleWindowTest, TheSplashIsSeenBeforeTheFirstDetectionStarts) {
    StartCards("card Splash mac=00005E360001 ip=127.0.10.1\n");
    for (const bool key : {false, true}) {
        SCOPED_TRACE(key ? "closed by a key" : "closed by its timer");
        OpenConsole(false);
        const QPointer<QWidget> banner = console_->findChild<frmBanner*>();
        ASSERT_NE(banner, nullptr);
        auto* bannerTimer = console_->findChild<QTimer*>("tmrBanner");
        bool splashAtDetection = true;
        bool timerRunningAtDetection = true;
        QTimer watch;
        watch.setInterval(5);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (qobject_cast<frmProgress*>(widget) != nullptr && widget->isVisible()) {
                    splashAtDetection = banner != nullptr;
                    timerRunningAtDetection = bannerTimer->isActive();
                    watch.stop();
                }
            }
        });
        watch.start();
        bool done = false;
        console_->FirstDetectionAfterSplash([&] { done = true; });
        if (key) {
            QTest::keyClick(banner, Qt::Key_Space);
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 20000));
        EXPECT_FALSE(splashAtDetection);
        EXPECT_EQ(timerRunningAtDetection, key) << "the splash's time had run out, unless a key closed it";
        EXPECT_EQ(Model()->rowCount(), 1);
        CloseConsole();
    }
}

TEST_F(ConsoleWindowTest, OneConsoleAtATimeAndTheRefreshTimerFollowsItsPeriod) {
    StartCards("card Solo mac=00005E340001 ip=127.0.8.1\n");
    DisplayOptions options = WorkingOptions();
    options.autoRefresh = 1;
    options.refreshSeconds = 1;
    StoreOptions(BuildDisplayOptions(options));
    OpenConsole();
    EXPECT_TRUE(console_->RefreshTimer()->isActive());
    EXPECT_EQ(console_->RefreshTimer()->interval(), 1000);
    EXPECT_TRUE(console_->TrapKeeper()->isActive());
    int refreshes = 0;
    QObject::connect(console_.get(), &NewLook::RefreshFinished, [&] { ++refreshes; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return refreshes >= 1; }, 6000)) << "the timer ran a Refresh";
    EXPECT_EQ(StatusOf("Solo"), "READY");

    NewLook second;
    EXPECT_FALSE(second.Form_Load());
    ASSERT_FALSE(boxes_.Shown().empty());
    EXPECT_EQ(boxes_.Shown().back().text, "Application already running ");
    EXPECT_EQ(Model()->rowCount(), 1) << "the first console is untouched";
    CloseConsole();

    options.refreshSeconds = 0;  // no ticks at all, rather than one on every pass of the loop
    StoreOptions(BuildDisplayOptions(options));
    OpenConsole();
    EXPECT_FALSE(console_->RefreshTimer()->isActive());
}

// The device access procedures on the current row, as the dialogs to come use them.
TEST_F(ConsoleWindowTest, DeviceAccessReadsAndWritesTheCurrentPrintServer) {
    StartCards(
        "card Guarded mac=00005E350001 ip=127.0.9.1 engine=external password=secret\n"
        "card Open mac=00005E350002 ip=127.0.9.2 engine=compact\n"
        "card Old mac=00005E350003 ip=127.0.9.3 engine=office version=\"V1.00 06/21/1999\"\n"
        "card Silent mac=00005E350004 ip=127.0.9.4\n");
    OpenConsole();
    ASSERT_EQ(Model()->rowCount(), 4);
    const auto select = [&](const char* mac) {
        console_->List()->SelectMac(mac);
        console_->List()->SelectCurrentPrinter();
        ASSERT_NE(CurrentPrinter(), nullptr);
    };

    select("00005E350001");
    EXPECT_EQ(ProbePrinter(), 0);
    EXPECT_EQ(IsPasswordEnabled(), kPasswordOn);
    EXPECT_EQ(SetPassword("00005E350001", "a,b c", 1), 0);
    GetPassword(1);
    EXPECT_EQ(State().currentPassword, "a,b c") << "the byte count carries the commas";
    EXPECT_EQ(CheckEngineVersion(), 3);
    EXPECT_TRUE(State().optionFlag16);
    EXPECT_FALSE(State().optionFlag2);

    select("00005E350002");
    EXPECT_EQ(IsPasswordEnabled(), kPasswordOff);
    EXPECT_EQ(CheckEngineVersion(), 2);
    select("00005E350003");
    EXPECT_EQ(CheckEngineVersion(), 5);
    EXPECT_TRUE(boxes_.Shown().empty());

    ASSERT_EQ(cards_.Command("fault Silent all silent"), "ok");
    select("00005E350004");
    EXPECT_NE(ProbePrinter(), 0);
    EXPECT_EQ(IsPasswordEnabled(), kPasswordUnknown);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].title, "Quillmar Message.");
    EXPECT_FALSE(CheckEngineVersion().has_value()) << "no kind is made up when the reads fail";
}

// Shut-down releases the firmware server the console started, found by the window it stored.
TEST_F(ConsoleWindowTest, ShutDownReleasesTheFirmwareServer) {
    OpenConsole();
    fendreltest::ChildProcess server;
    const auto window = static_cast<std::int32_t>(console_->TrapHandle());
    ASSERT_TRUE(server.Start(FENDREL_PROGRAM, {"TLX", std::to_string(window)}));
    // Its start takes well under a second; the bound is for a loaded machine.
    int exitCode = -1;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return IsFirmwareServerWindow(StoredFirmwareWindow()) || (exitCode = server.WaitForExit(0)) != -1;
        },
        60000))
        << "fendrel made no window in time: " << server.ErrorOutput();
    ASSERT_EQ(exitCode, -1) << "fendrel ended: " << server.ErrorOutput();
    CloseConsole();
    EXPECT_NE(server.WaitForExit(kAcrossMs), -1) << "released and closed";
}

TEST_F(ConsoleWindowTest, TheAboutBoxShowsItsCaption) {
    frmAboutBox about;
    about.show();
    EXPECT_EQ(about.windowTitle(), "About Quillmar...");
    SavePicture(&about, "frmAboutBox");
}

}  // namespace
}  // namespace console
