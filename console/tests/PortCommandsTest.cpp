// The console's port commands, from the Printers menu of the real main window (offscreen), against a
// private cupsd whose queues print through the backend to simulated cards: Add Port cancelled, and of
// Configure Port and Delete Port the question, the port choice with a port whose queue is gone, the
// refusals while a job prints and a configured port whose queue prints to the new print server.
// Pictures go into the build folder.
#include <QTest>

#include "console/tests/PortCommandsFixture.h"
#include "platform/spooler/MonitorPorts.h"

namespace console {
namespace {

class PortCommandsTest : public PortCommandsFixture {};

// Cancel or Esc in Add Port's dialog: the person changed their mind, so nothing is said and no port made.
TEST_F(PortCommandsTest, AddPortCancelledSaysNothing) {
    const struct {
        const char* way;
        std::function<void(QWidget*)> end;
    } cases[] = {{"Cancel", [](QWidget* dialog) { Button(dialog, "Cancel")->click(); }},
                 {"Esc", [](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); }}};
    const auto portCount = [] {
        std::vector<plat::MonitorPort> ports;
        EXPECT_TRUE(plat::EnumMonitorPorts(ports));
        return ports.size();
    };
    const std::size_t before = portCount();
    for (const auto& cancelled : cases) {
        SCOPED_TRACE(cancelled.way);
        consoletest::MessageRecorder boxes;
        WindowWatch dialog("Add Port", cancelled.end, Listed);
        Command("mnuCreatePort")->trigger();
        ASSERT_TRUE(dialog.Seen());
        EXPECT_TRUE(boxes.Shown().empty()) << boxes.Shown().front().text.toStdString();
        EXPECT_EQ(portCount(), before);
    }
}

TEST_F(PortCommandsTest, DeletePortAsksThenTakesThePortAndItsQueue) {
    auto* printers = console_->findChild<QMenu*>("mnuPrinters");
    ASSERT_NE(printers, nullptr);
    printers->popup(console_->mapToGlobal(QPoint(0, 0)));
    SavePicture(printers, "NewLook-printers-menu");
    printers->hide();
    EXPECT_EQ(Command("mnuConfigurePort")->text(), "C&onfigure Port");
    EXPECT_EQ(Command("mnuDeletePort")->text(), "&Delete Port");
    ASSERT_TRUE(Command("mnuDeletePort")->isEnabled());

    // Cancel on the question changes nothing.
    consoletest::MessageRecorder boxes(kCancel);
    Command("mnuDeletePort")->trigger();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown().front().text,
              "Delete port Card-1? The queues that print to it go with it: Card-1.");
    EXPECT_TRUE(HasQueue("Card-1"));
    EXPECT_EQ(bed_->Category(0), 6u);

    boxes.Answer(kOk);
    boxes.Clear();
    Command("mnuDeletePort")->trigger();
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_FALSE(HasQueue("Card-1"));
    EXPECT_FALSE(PortAdapter("Card-1"));
    EXPECT_EQ(bed_->Category(0), 2u);
    // The print server has no port now: the row's port commands are off.
    EXPECT_EQ(CurrentPrinter()->mac, QString::fromStdString(bed_->Mac(0)));
    EXPECT_FALSE(Command("mnuDeletePort")->isEnabled());
    EXPECT_FALSE(Command("mnuJobs")->isEnabled());
}

TEST_F(PortCommandsTest, APortWhoseQueueWasRemovedIsOfferedForDeletion) {
    AddPort("Card-1-old", 0, true);
    ASSERT_EQ(std::system("lpadmin -x Card-1-old"), 0);
    consoletest::MessageRecorder boxes;
    WindowWatch choice("Select Port", [](QWidget* window) {
        auto* dialog = static_cast<frmSelectPort*>(window);
        QTreeWidget* list = dialog->List();
        ASSERT_EQ(list->topLevelItemCount(), 2);
        const auto old = list->findItems("Card-1-old", Qt::MatchExactly, 0);
        ASSERT_EQ(old.size(), 1);
        EXPECT_EQ(old.front()->text(1), "no queue");
        EXPECT_EQ(list->findItems("Card-1", Qt::MatchExactly, 0).front()->text(1), "Card-1");
        SavePicture(dialog, "frmSelectPort");
        // OK without a choice asks for one and keeps the dialog open.
        list->setCurrentItem(nullptr);
        dialog->OkButton()->click();
        EXPECT_TRUE(dialog->isVisible());
        list->setCurrentItem(old.front());
        dialog->OkButton()->click();
    });
    Command("mnuDeletePort")->trigger();
    EXPECT_TRUE(choice.Seen());
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, "Select a port from the list.");
    EXPECT_EQ(boxes.Shown()[1].text, "Delete port Card-1-old? No queue prints to it.");
    EXPECT_FALSE(PortAdapter("Card-1-old"));
    EXPECT_EQ(PortAdapter("Card-1"), bed_->Mac(0));
    EXPECT_TRUE(HasQueue("Card-1"));
    EXPECT_EQ(bed_->Category(0), 6u);
    EXPECT_TRUE(Command("mnuDeletePort")->isEnabled());
}

TEST_F(PortCommandsTest, BothCommandsAreRefusedWhileAJobPrintsOnThePort) {
    const HeldJob job(*bed_, *cupsd_, 0, "Card-1");
    ASSERT_TRUE(job.Printing());
    consoletest::MessageRecorder boxes;
    WindowWatch dialog("Configure Port", [](QWidget* window) { static_cast<QDialog*>(window)->reject(); });
    Command("mnuConfigurePort")->trigger();
    EXPECT_FALSE(dialog.Seen()) << "the port dialog opened while the port prints";
    Command("mnuDeletePort")->trigger();
    ASSERT_EQ(boxes.Shown().size(), 3u);
    EXPECT_EQ(boxes.Shown()[0].text, "Port Card-1 is printing. Configure it when its job is done.");
    EXPECT_EQ(boxes.Shown()[2].text,
              "Port Card-1 is in use: its queues hold jobs. Let them print or cancel them in Job Queue, then "
              "delete the port.");
    EXPECT_EQ(PortAdapter("Card-1"), bed_->Mac(0));
    EXPECT_TRUE(HasQueue("Card-1"));
    EXPECT_EQ(bed_->Category(0), 6u);
    EXPECT_EQ(cupsd_->JobState(job.Id()), IPP_JSTATE_PROCESSING);
}

TEST_F(PortCommandsTest, AConfiguredPortsQueuePrintsToTheNewPrintServer) {
    // A job that starts while the dialog is open keeps the port where it is.
    std::unique_ptr<HeldJob> held;
    bool refusedAtOk = false;
    WindowWatch first(
        "Configure Port",
        [&](QWidget* window) {
            QTreeWidget* list = window->findChild<QTreeWidget*>();
            list->setCurrentItem(list->findItems("Card-2", Qt::MatchExactly, 0).front());
            held = std::make_unique<HeldJob>(*bed_, *cupsd_, 0, "Card-1");
            ASSERT_TRUE(held->Printing());
            WindowWatch box("Vorlane Network Print Monitor : Error", [&](QWidget* message) {
                refusedAtOk = static_cast<QMessageBox*>(message)->text() ==
                              "The port is printing. Configure it when its job is done.";
                static_cast<QDialog*>(message)->accept();
            });
            Button(window, "OK")->click();
            EXPECT_TRUE(box.Seen());
            static_cast<QDialog*>(window)->reject();
        },
        Listed);
    Command("mnuConfigurePort")->trigger();
    ASSERT_TRUE(first.Seen());
    EXPECT_TRUE(refusedAtOk);
    EXPECT_EQ(PortAdapter("Card-1"), bed_->Mac(0));
    held.reset();

    WindowWatch second(
        "Configure Port",
        [](QWidget* window) {
            QTreeWidget* list = window->findChild<QTreeWidget*>();
            list->setCurrentItem(list->findItems("Card-2", Qt::MatchExactly, 0).front());
            SavePicture(window, "configure-port-from-console");
            Button(window, "OK")->click();
        },
        Listed);
    Command("mnuConfigurePort")->trigger();
    ASSERT_TRUE(second.Seen());
    EXPECT_EQ(PortAdapter("Card-1"), bed_->Mac(1));
    EXPECT_EQ(bed_->Category(0), 2u);
    EXPECT_EQ(bed_->Category(1), 6u);
    // The queue keeps its name and its device, and its next job reaches the new print server.
    const std::size_t before = bed_->Listener().Jobs(1).size();
    const std::vector<uint8_t> bytes = portmon::test::JobBytes(5000);
    const int job = cupsd_->Print("Card-1", bytes);
    ASSERT_GT(job, 0);
    EXPECT_EQ(cupsd_->WaitForEnd(job, std::chrono::seconds(120)), IPP_JSTATE_COMPLETED);
    ASSERT_TRUE(bed_->Listener().WaitForJobs(1, before + 1, std::chrono::seconds(20)));
    EXPECT_EQ(portmon::test::CardBed::Bytes(bed_->Listener().Jobs(1).back()), bytes);
    // The console's rows follow: the second print server now has the port and the queue.
    console_->List()->SelectMac(QString::fromStdString(bed_->Mac(1)));
    emit console_->List()->ItemClicked();
    EXPECT_TRUE(Command("mnuDeletePort")->isEnabled());
    EXPECT_EQ(CurrentPrinter()->windowsPrinter, "Card-1");
}

}  // namespace
}  // namespace console
