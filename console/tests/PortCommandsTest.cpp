// The console's Configure Port and Delete Port, from the Printers menu of the real main window
// (offscreen), against a private cupsd whose queues print through the backend to simulated cards:
// the question, the port choice with a port whose queue is gone, the refusals while a job prints and
// a configured port whose queue prints to the new print server. Pictures go into the build folder.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>

#include "console/core/ConsoleState.h"
#include "console/core/NewLook.h"
#include "console/core/PrinterList.h"
#include "console/core/QueuePump.h"
#include "console/core/dialogs/frmSelectPort.h"
#include "console/tests/ConsoleFixture.h"
#include "console/tests/MessageRecorder.h"
#include "platform/spooler/Spooler.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "portmonitor/tests/CardBed.h"
#include "portmonitor/tests/HeldJob.h"
#include "portmonitor/tests/PrivateCupsd.h"
#include "simulator/Simulator.h"
#include "tests/QuickExchanges.h"
#include "transport/ProtocolMask.h"

namespace console {
namespace {

using consoletest::SavePicture;
using portmon::test::CardBed;
using portmon::test::HeldJob;
using portmon::test::PrivateCupsd;

constexpr std::size_t kCards = 2;

// Watches for a dialog a command opens (the monitor's dialogs and boxes live in its library, so they
// are found by their title) and hands it to `act` once it is `ready`, as a person's hand. The watch
// never waits itself: the dialog may be busy (a detection pumps events) when it looks.
class WindowWatch {
  public:
    using Ready = std::function<bool(QWidget*)>;
    WindowWatch(const QString& title, std::function<void(QWidget*)> act, Ready ready = nullptr)
        : act_(std::move(act)) {
        QObject::connect(&poll_, &QTimer::timeout, [this, title, ready] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->isVisible() && widget->windowTitle() == title && qobject_cast<QDialog*>(widget) &&
                    (!ready || ready(widget))) {
                    poll_.stop();
                    seen_ = true;
                    act_(widget);
                    return;
                }
            }
        });
        poll_.start(20);
    }
    bool Seen() const { return seen_; }

  private:
    QTimer poll_;
    std::function<void(QWidget*)> act_;
    bool seen_ = false;
};

QPushButton* Button(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

// The port dialog once its detection has listed every card.
bool Listed(QWidget* dialog) {
    const QTreeWidget* list = dialog->findChild<QTreeWidget*>();
    return list != nullptr && list->topLevelItemCount() == int{kCards};
}

std::optional<std::string> PortAdapter(const std::string& port) {
    const std::string path = std::string(plat::kAdapterPortsKey) + "\\" + port;
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, path.c_str());
    return key ? key->ReadText("MAC Address") : std::nullopt;
}

bool HasQueue(const std::string& name) {
    std::vector<plat::PrinterDevice> printers;
    EXPECT_TRUE(plat::EnumPrinters(printers));
    return std::any_of(printers.begin(), printers.end(),
                       [&](const plat::PrinterDevice& printer) { return printer.name == name; });
}

class PortCommandsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StoreQuickExchangeSettings());
        bed_ = new CardBed(kCards, kProtocolIp);
        agents_ = new sim::Simulator;
        for (std::size_t card = 0; card < kCards; ++card) {
            agents_->AddCard(bed_->Card(card));
        }
        std::string error;
        ASSERT_TRUE(agents_->Start(error)) << error;
        cupsd_ = new PrivateCupsd;
        ASSERT_TRUE(cupsd_->Start(VORLANE_BACKEND, error)) << error;
    }
    static void TearDownTestSuite() {
        delete cupsd_;
        delete agents_;
        delete bed_;
    }

    // Two print servers, a port "Card-1" on the first with its queue, and the console open on them
    // with the first one's row chosen.
    void SetUp() override {
        CardBed::StoreQuickSettings();
        for (std::size_t card = 0; card < kCards; ++card) {
            bed_->StoreCard(card, kProtocolIp);
        }
        AddPort("Card-1", 0, true);
        State() = ConsoleState();
        console_ = std::make_unique<NewLook>();
        ASSERT_TRUE(console_->Form_Load());
        console_->show();
        console_->FirstDetection();
        console_->List()->SelectMac(QString::fromStdString(bed_->Mac(0)));
        emit console_->List()->ItemClicked();
    }
    void TearDown() override {
        consoletest::CloseConsole(console_);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        std::vector<plat::PrinterDevice> printers;
        plat::EnumPrinters(printers);
        for (const plat::PrinterDevice& printer : printers) {
            plat::DeletePrinter(printer.name);
        }
        plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kAdapterPortsKey);
    }

    // A port on the card as Add Port leaves it, with a queue of its name or without one.
    void AddPort(const std::string& port, std::size_t card, bool withQueue) {
        const auto key = plat::StoreKeyHandle::Create(
            plat::kStoreLocalMachine, (std::string(plat::kAdapterPortsKey) + "\\" + port).c_str());
        ASSERT_TRUE(key);
        key->WriteText("MAC Address", bed_->Mac(card));
        const auto entry = plat::StoreKeyHandle::Open(
            plat::kStoreLocalMachine, (std::string(plat::kAdapterOnlyKey) + "\\" + bed_->Mac(card)).c_str(),
            plat::kStoreReadWrite);
        ASSERT_TRUE(entry);
        entry->AddToNumber("Category", 4);
        if (withQueue) {
            ASSERT_TRUE(cupsd_->AddQueue(port, port));
        }
    }

    QAction* Command(const char* name) const { return console_->Action(name); }

    static CardBed* bed_;
    static sim::Simulator* agents_;
    static PrivateCupsd* cupsd_;
    QueuePump pump_;
    std::unique_ptr<NewLook> console_;
};

CardBed* PortCommandsTest::bed_ = nullptr;
sim::Simulator* PortCommandsTest::agents_ = nullptr;
PrivateCupsd* PortCommandsTest::cupsd_ = nullptr;

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
