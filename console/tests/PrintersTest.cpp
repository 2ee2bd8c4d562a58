// The console's printers through a private cupsd in the test network, with simulated cards: Add Port
// makes a port and a queue on it, the job queue dialog lists and steers the queue's jobs, a print
// server with two queues offers the printer choice, and document settings become the queue's defaults.
// Pictures of the dialogs are saved into the build folder.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <thread>

#include "console/core/ConsoleState.h"
#include "console/core/InstalledPrinters.h"
#include "console/core/Libraries.h"
#include "console/core/NewLook.h"
#include "console/core/PrintServerTable.h"
#include "console/core/PrinterCommands.h"
#include "console/core/PrinterList.h"
#include "console/core/QueuePump.h"
#include "console/core/StringTable.h"
#include "console/core/dialogs/frmDocumentSettings.h"
#include "console/core/dialogs/frmJobQueue.h"
#include "console/core/dialogs/frmLocate.h"
#include "console/core/dialogs/frmSelectWin.h"
#include "console/tests/ConsoleFixture.h"
#include "console/tests/MessageRecorder.h"
#include "console/tests/Typing.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "portmonitor/tests/CardBed.h"
#include "portmonitor/tests/PrivateCupsd.h"
#include "simulator/Simulator.h"
#include "tests/QuickExchanges.h"
#include "transport/ProtocolMask.h"

namespace console {
namespace {

using consoletest::SavePicture;
using portmon::test::CardBed;
using portmon::test::PrivateCupsd;

constexpr std::size_t kCards = 2;

// Runs the event loop until `done` or the time runs out (by default a bound for a loaded machine).
bool Await(const std::function<bool()>& done, int milliseconds = 60000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

// Once a modal dialog of that kind is up, runs `act` on it (a person's hand while exec() waits).
template <class Dialog>
void WhenShown(std::function<void(Dialog*)> act) {
    QTimer::singleShot(0, [act] {
        Dialog* dialog = nullptr;
        Await([&] { return (dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) != nullptr; });
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

std::string Shell(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    char buffer[256];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return output;
}

// The port dialog of the port monitor, answered as a person would: the card's row, then OK.
void ChoosePortFor(const char* card) {
    WhenShown<QDialog>([card](QDialog* ports) {
        QTreeWidget* list = ports->findChild<QTreeWidget*>();
        ASSERT_TRUE(Await([&] { return list->topLevelItemCount() == int{kCards}; }));
        list->setCurrentItem(list->findItems(card, Qt::MatchExactly, 0).front());
        for (QPushButton* button : ports->findChildren<QPushButton*>()) {
            if (button->text() == "OK") {
                button->click();
            }
        }
    });
}

sim::CardDescription SnmpCard(std::size_t card) {
    sim::CardDescription description;
    description.name = "Card-" + std::to_string(card + 1);
    description.location = "Print room";
    description.mac = {0x00, 0xC0, 0xDE, 0x00, 0x06, static_cast<uint8_t>(card + 1)};
    description.ip = {127, 0, 6, static_cast<uint8_t>(card + 1)};
    description.protocols = kProtocolIp;
    return description;
}

class PrintersTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StoreQuickExchangeSettings());
        bed_ = new CardBed(kCards, kProtocolIp);
        CardBed::StoreQuickSettings();
        agents_ = new sim::Simulator;
        for (std::size_t card = 0; card < kCards; ++card) {
            bed_->StoreCard(card, kProtocolIp);
            agents_->AddCard(SnmpCard(card));
        }
        std::string error;
        ASSERT_TRUE(agents_->Start(error)) << error;
        cupsd_ = new PrivateCupsd;
        ASSERT_TRUE(cupsd_->Start(VORLANE_BACKEND, error)) << error;
        plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kPrintJobsKey)
            ->WriteText("JobFile", cupsd_->Folder() + "/jobs/list.txt");
        State().productTitle = LoadString(0);
        ChoosePortFor("Card-1");
        ASSERT_TRUE(AddPortCommand(0));
    }
    static void TearDownTestSuite() {
        delete cupsd_;
        delete agents_;
        delete bed_;
    }

    void SetUp() override {
        MatchInstalledPrinters();
        BuildPrinterRows();
        State().currentRow = -1;
        for (std::size_t row = 0; row < State().rows.size(); ++row) {
            if (State().rows[row].mac == QString::fromStdString(bed_->Mac(0))) {
                State().currentRow = static_cast<int>(row);
            }
        }
        ASSERT_GE(State().currentRow, 0);
    }

    // A job printed with that title, held or waiting as the queue is; its id.
    static int Print(const char* queue, const char* title, std::size_t size) {
        const std::string path = cupsd_->Folder() + "/jobs/" + std::to_string(++files_);
        std::ofstream(path) << std::string(size, 'x');
        return cupsPrintFile(queue, path.c_str(), title, 0, nullptr);
    }

    // The main window, started as the program starts it, without its first detection.
    std::unique_ptr<NewLook> OpenConsole() {
        State() = ConsoleState();
        auto console = std::make_unique<NewLook>();
        EXPECT_TRUE(console->Form_Load());
        console->show();
        return console;
    }

    static QTreeWidgetItem* Item(frmJobQueue& dialog, const QString& document) {
        const auto found = dialog.List()->findItems(document, Qt::MatchExactly, 0);
        return found.isEmpty() ? nullptr : found.front();
    }

    static CardBed* bed_;
    static sim::Simulator* agents_;
    static PrivateCupsd* cupsd_;
    static int files_;
};

CardBed* PrintersTest::bed_ = nullptr;
sim::Simulator* PrintersTest::agents_ = nullptr;
PrivateCupsd* PrintersTest::cupsd_ = nullptr;
int PrintersTest::files_ = 0;

TEST_F(PrintersTest, AddPortMakesAQueueOnTheNewPortThatTheRowsShow) {
    EXPECT_NE(Shell("lpstat -v Card-1").find("vorlane:/Card-1"), std::string::npos);
    ASSERT_EQ(State().installedPrinters.size(), 1u);
    const InstalledPrinter& installed = State().installedPrinters.front();
    EXPECT_EQ(installed.printer, "Card-1");
    EXPECT_EQ(installed.port, "Card-1");
    EXPECT_EQ(installed.mac, QString::fromStdString(bed_->Mac(0)));
    EXPECT_EQ(CurrentPrinter()->windowsPrinter, "Card-1");
    EXPECT_EQ(CurrentPrinter()->portName, "Card-1");
    // Another platform's mode starts nothing.
    EXPECT_EQ(halbrin::HelperInstallPrinter32(0, 0x102), kHelperNotOnThisPlatform);
}

TEST_F(PrintersTest, JobQueueListsPausesResumesAndCancelsJobsInCups) {
    consoletest::MessageRecorder messages;
    ASSERT_EQ(Shell("cupsdisable Card-1"), "");
    const int report = Print("Card-1", "Report, \"final\"", 3000);
    const int notes = Print("Card-1", "notes", 100);
    ASSERT_GT(report, 0);
    ASSERT_GT(notes, 0);

    frmJobQueue dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Job Queue for : Card-1");
    ASSERT_EQ(dialog.List()->topLevelItemCount(), 2);
    QTreeWidgetItem* first = Item(dialog, "Report, \"final\"");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(1), "");
    EXPECT_TRUE(
        QRegularExpression("^\\d\\d:\\d\\d:\\d\\d \\d\\d/\\d\\d/20\\d\\d$").match(first->text(2)).hasMatch())
        << first->text(2).toStdString();
    EXPECT_EQ(first->text(3), "3KB");
    EXPECT_EQ(first->text(4), QString::fromLocal8Bit(cupsUser()));
    EXPECT_EQ(first->text(7), "Card-1");
    EXPECT_EQ(dialog.StatusBar()->currentMessage(), "2 Job(s) in Queue");

    // Pause: the job is held in CUPS, and stays selected by its id.
    dialog.List()->setCurrentItem(first);
    dialog.JobCommand(1);
    EXPECT_EQ(cupsd_->JobState(report), IPP_JSTATE_HELD);
    ASSERT_NE(dialog.List()->currentItem(), nullptr);
    EXPECT_EQ(dialog.List()->currentItem()->text(0), "Report, \"final\"");
    EXPECT_EQ(dialog.List()->currentItem()->text(1), " PAUSED");
    SavePicture(&dialog, "job-queue");

    // Resume of a job that is not held: CUPS refuses, and the dialog says so while its refresh waits.
    std::vector<QString> shown;
    bool refreshedMeanwhile = true;
    SetMessageHook([&](const MessageShown& message) {
        shown.push_back(message.text);
        refreshedMeanwhile = dialog.RefreshTimer()->isActive();
        return int{kOk};
    });
    dialog.List()->setCurrentItem(Item(dialog, "notes"));
    dialog.JobCommand(2);
    SetMessageHook({});
    EXPECT_EQ(shown, std::vector<QString>{"The spooler refused the job command."});
    EXPECT_FALSE(refreshedMeanwhile);
    EXPECT_TRUE(dialog.RefreshTimer()->isActive());

    dialog.List()->setCurrentItem(Item(dialog, "notes"));
    dialog.JobCommand(3);
    EXPECT_EQ(cupsd_->JobState(notes), IPP_JSTATE_CANCELED);
    EXPECT_EQ(Shell("lpstat -o Card-1").find("Card-1-" + std::to_string(notes)), std::string::npos);
    EXPECT_EQ(dialog.List()->topLevelItemCount(), 1);

    // Two jobs of one name: the command reaches the one selected, kept by its id over the refresh.
    const int twin1 = Print("Card-1", "twin", 10);
    const int twin2 = Print("Card-1", "twin", 20);
    dialog.mnuRefresh_Click();
    QTreeWidgetItem* second = nullptr;
    for (QTreeWidgetItem* twin : dialog.List()->findItems("twin", Qt::MatchExactly, 0)) {
        second = twin->data(0, Qt::UserRole).toInt() == twin2 ? twin : second;
    }
    ASSERT_NE(second, nullptr);
    dialog.List()->setCurrentItem(second);
    dialog.mnuRefresh_Click();
    dialog.JobCommand(3);
    EXPECT_EQ(cupsd_->JobState(twin2), IPP_JSTATE_CANCELED);
    EXPECT_EQ(cupsd_->JobState(twin1), IPP_JSTATE_PENDING);
    dialog.List()->setCurrentItem(Item(dialog, "twin"));
    dialog.JobCommand(3);
    EXPECT_EQ(cupsd_->JobState(twin1), IPP_JSTATE_CANCELED);

    // Released with the queue running again, the job prints to the card.
    ASSERT_EQ(Shell("cupsenable Card-1"), "");
    const std::size_t before = bed_->Listener().Jobs(0).size();
    dialog.List()->setCurrentItem(Item(dialog, "Report, \"final\""));
    dialog.JobCommand(2);
    EXPECT_EQ(cupsd_->WaitForEnd(report, std::chrono::seconds(60)), IPP_JSTATE_COMPLETED);
    ASSERT_TRUE(bed_->Listener().WaitForJobs(0, before + 1, std::chrono::seconds(20)));
    EXPECT_EQ(bed_->Listener().Jobs(0).back().firstBytes, std::vector<uint8_t>(3000, 'x'));
    dialog.mnuRefresh_Click();
    EXPECT_EQ(dialog.List()->topLevelItemCount(), 0);
    EXPECT_EQ(dialog.StatusBar()->currentMessage(), "0 Job(s) in Queue");
}

TEST_F(PrintersTest, JobListIsWrittenOnlyWhereItFitsAndOnlyWithJobs) {
    const std::string file = cupsd_->Folder() + "/jobs/list.txt";
    std::remove(file.c_str());
    char path[200];
    std::uint32_t size = sizeof path;
    EXPECT_EQ(halbrin::HelperRefreshJobQueue32("Card-1", 0, 0, path, &size), kHelperNoJobs);
    EXPECT_FALSE(std::ifstream(file).good());
    EXPECT_EQ(halbrin::HelperRefreshJobQueue32("NoSuchQueue", 0, 0, path, &size), kHelperJobListFailed);

    ASSERT_EQ(Shell("cupsdisable Card-1"), "");
    const int job = Print("Card-1", "short", 10);
    ASSERT_GT(job, 0);
    // A job id that is not on the printer is not steered.
    EXPECT_EQ(
        halbrin::HelperRefreshJobQueue32("Card-1", 3, static_cast<std::uint32_t>(job) + 1000, path, &size),
        kHelperJobListFailed);
    char small[8] = "unused";
    std::uint32_t smallSize = sizeof small;
    EXPECT_EQ(halbrin::HelperRefreshJobQueue32("Card-1", 0, 0, small, &smallSize), kHelperJobListFailed);
    EXPECT_STREQ(small, "unused");
    ASSERT_EQ(halbrin::HelperRefreshJobQueue32("Card-1", 0, 0, path, &size), kHelperOk);
    EXPECT_EQ(std::string(path), file);
    EXPECT_EQ(size, file.size() + 1);
    EXPECT_EQ(halbrin::HelperRefreshJobQueue32("Card-1", 3, static_cast<std::uint32_t>(job), path, &size),
              kHelperNoJobs);
    EXPECT_EQ(cupsd_->JobState(job), IPP_JSTATE_CANCELED);
    ASSERT_EQ(Shell("cupsenable Card-1"), "");
}

TEST_F(PrintersTest, TwoQueuesOfferTheChoiceAndSettingsBecomeTheQueuesDefaults) {
    consoletest::MessageRecorder messages;
    ASSERT_TRUE(cupsd_->AddQueue("Card-1-draft", "Card-1"));
    MatchInstalledPrinters();
    WhenShown<frmSelectWin>([&](frmSelectWin* choice) {
        EXPECT_EQ(choice->windowTitle(), "Select Windows Printer");
        EXPECT_EQ(choice->List()->count(), 2);
        choice->List()->setCurrentItem(nullptr);
        choice->OpenButton()->click();
        EXPECT_EQ(messages.Shown().size(), 1u);
        EXPECT_TRUE(choice->isVisible());
        WhenShown<frmDocumentSettings>([](frmDocumentSettings* settings) {
            EXPECT_EQ(settings->windowTitle(), "Document Settings for Card-1");
            settings->Media()->setCurrentIndex(settings->Media()->findData("na_letter_8.5x11in"));
            settings->Sides()->setCurrentIndex(settings->Sides()->findData("two-sided-long-edge"));
            settings->Orientation()->setCurrentIndex(settings->Orientation()->findData("4"));
            settings->Copies()->setValue(3);
            SavePicture(settings, "document-settings");
            settings->accept();
        });
        choice->List()->setCurrentRow(0);
        SavePicture(choice, "printer-choice");
        choice->OpenButton()->click();
    });
    PrinterPropertiesCommand(nullptr, 0);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown().front().text, "Select a Windows Printer");
    const std::string defaults = Shell("lpoptions -p Card-1");
    for (const char* option :
         {"media=na_letter_8.5x11in", "sides=two-sided-long-edge", "orientation-requested=4", "copies=3"}) {
        EXPECT_NE(defaults.find(option), std::string::npos) << option << " in " << defaults;
    }
    // A queue that is not there: the settings call says so and the command shows it.
    EXPECT_EQ(halbrin::HelperDeviceSettings32(0, "NoSuchQueue"), kHelperPrinterNotOpened);
}

// A queue that CUPS gives no defaults of its own opens on what its jobs get: one side, portrait,
// and the machine's paper.
TEST_F(PrintersTest, TheSettingsOfAFreshQueueOpenOnWhatItsJobsGet) {
    consoletest::MessageRecorder messages;
    ASSERT_TRUE(cupsd_->AddQueue("Card-1-fresh", "Card-1"));
    MatchInstalledPrinters();
    qputenv("PAPERSIZE", "letter");
    WhenShown<frmSelectWin>([](frmSelectWin* choice) {
        WhenShown<frmDocumentSettings>([](frmDocumentSettings* settings) {
            EXPECT_EQ(settings->Media()->currentData().toString(), "na_letter_8.5x11in");
            EXPECT_EQ(settings->Sides()->currentData().toString(), "one-sided");
            EXPECT_EQ(settings->Orientation()->currentData().toString(), "3");
            SavePicture(settings, "document-settings-fresh");
            settings->reject();
        });
        choice->List()->setCurrentItem(choice->List()->findItems("Card-1-fresh", Qt::MatchExactly).front());
        choice->OpenButton()->click();
    });
    PrinterPropertiesCommand(nullptr, 0);
    qunsetenv("PAPERSIZE");
    EXPECT_TRUE(messages.Shown().empty());
    Shell("lpadmin -x Card-1-fresh");
}

// A title with a line break is one job: its second half never reads as a job of its own, and the
// job commands reach the real job.
TEST_F(PrintersTest, AJobTitleWithALineBreakIsOneJobThatTheCommandsReach) {
    consoletest::MessageRecorder messages;
    ASSERT_EQ(Shell("cupsdisable Card-1"), "");
    const int job = Print("Card-1", "report\n999,0,evil", 100);
    ASSERT_GT(job, 0);
    frmJobQueue dialog;
    dialog.show();
    ASSERT_EQ(dialog.List()->topLevelItemCount(), 1);
    QTreeWidgetItem* item = dialog.List()->topLevelItem(0);
    EXPECT_EQ(item->text(0), "report 999,0,evil");
    EXPECT_EQ(item->data(0, Qt::UserRole).toInt(), job);
    EXPECT_EQ(item->text(7), "Card-1");
    // Pause, Resume and Cancel wait for a job to be chosen, on the menu and the tool bar alike.
    for (int command : {0, 1, 2}) {
        EXPECT_FALSE(dialog.Action(command)->isEnabled()) << command;
    }
    dialog.List()->setCurrentItem(item);
    for (int command : {0, 1, 2}) {
        EXPECT_TRUE(dialog.Action(command)->isEnabled()) << command;
    }
    dialog.Action(2)->trigger();  // Cancel
    EXPECT_EQ(cupsd_->JobState(job), IPP_JSTATE_CANCELED);
    EXPECT_EQ(dialog.List()->topLevelItemCount(), 0);
    EXPECT_FALSE(dialog.Action(2)->isEnabled()) << "nothing left to cancel";
    ASSERT_EQ(Shell("cupsenable Card-1"), "");
}

// A print server found by its address has the printers installed on it matched at once.
TEST_F(PrintersTest, ALocatedPrintServerShowsItsInstalledPrinter) {
    consoletest::MessageRecorder messages;
    console::QueuePump pump;
    std::unique_ptr<NewLook> console = OpenConsole();
    ASSERT_TRUE(State().installedPrinters.empty());
    WhenShown<frmLocate>([](frmLocate* locate) {
        locate->activateWindow();
        Await([&] { return locate->isActiveWindow(); });
        locate->Octet(0)->setFocus();
        consoletest::TypeAtFocus("127.0.6.1");
        locate->pbuOK_Click();
    });
    console->Action("mnuLocate")->trigger();
    ASSERT_NE(CurrentPrinter(), nullptr)
        << (messages.Shown().empty() ? "" : messages.Shown().back().text.toStdString());
    EXPECT_EQ(CurrentPrinter()->mac, QString::fromStdString(bed_->Mac(0)));
    EXPECT_TRUE(CurrentPrinter()->windowsPrinter.split(", ").contains("Card-1"))
        << CurrentPrinter()->windowsPrinter.toStdString();
    EXPECT_TRUE(CurrentPrinter()->portName.startsWith("Card-1")) << CurrentPrinter()->portName.toStdString();
    console->close();
}

// CUPS refuses the queue (a class has the port's name): the port is there all the same, so the
// console says what happened, with CUPS's reason, and shows the print server's new port count.
TEST_F(PrintersTest, AddPortSaysWhenCupsRefusesTheQueueAndShowsThePortAddedAllTheSame) {
    ASSERT_TRUE(cupsd_->AddQueue("Holder", "Holder"));
    ASSERT_EQ(Shell("lpadmin -p Holder -c Card-2"), "");
    consoletest::MessageRecorder messages;
    console::QueuePump pump;
    std::unique_ptr<NewLook> console = OpenConsole();
    LoadPrintServerTable();
    const QString mac = QString::fromStdString(bed_->Mac(1));
    const std::uint32_t category = FindServer(mac) != nullptr ? FindServer(mac)->category : 0;
    ChoosePortFor("Card-2");
    console->Action("mnuCreatePort")->trigger();
    ASSERT_EQ(messages.Shown().size(), 1u);
    const QString said = messages.Shown().front().text;
    EXPECT_TRUE(said.startsWith("The port was added, but the spooler made no printer on it."))
        << said.toStdString();
    EXPECT_TRUE(said.contains("class") && said.contains("Card-2")) << "CUPS's reason: " << said.toStdString();
    EXPECT_TRUE(plat::StoreKeyHandle::Open(plat::kStoreLocalMachine,
                                           (std::string(plat::kAdapterPortsKey) + "\\Card-2").c_str())
                    .has_value());
    ASSERT_NE(FindServer(mac), nullptr);
    EXPECT_GT(FindServer(mac)->category, category) << "the tables were read anew";
    console->close();
    Shell("lpadmin -x Card-2");
    Shell("lpadmin -x Holder");
}

}  // namespace
}  // namespace console
