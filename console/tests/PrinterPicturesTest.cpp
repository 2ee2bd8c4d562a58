// The printers of a demo print server as the help shows them, through a private cupsd: the port
// that Add Port makes on Lobby and its queue, a second queue beside it, their jobs in the job queue,
// the choice between the two queues and the choice between two ports, one of which lost its queue.
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include <vector>

#include "console/core/dialogs/frmDocumentSettings.h"
#include "console/core/dialogs/frmJobQueue.h"
#include "console/core/dialogs/frmSelectPort.h"
#include "console/core/dialogs/frmSelectWin.h"
#include "console/tests/DemoNetworkFixture.h"
#include "console/tests/PortCommandsFixture.h"
#include "portmonitor/tests/PrivateCupsd.h"

namespace consoletest {
namespace {

using portmon::test::PrivateCupsd;
using portmon::test::RunCommand;

// The monitor's detection on a loaded machine.
constexpr int kDetectionMs = 60000;

// The list's rows, each as "first column: that column", sorted; one text, for a readable failure.
std::string Rows(const QTreeWidget* list, int column) {
    QStringList rows;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        rows << list->topLevelItem(row)->text(0) + ": " + list->topLevelItem(row)->text(column);
    }
    rows.sort();
    return rows.join(" | ").toStdString();
}

class PrinterPicturesTest : public DemoNetworkFixture {
  protected:
    void SetUp() override {
        DemoNetworkFixture::SetUp();
        std::string error;
        ASSERT_TRUE(cupsd_.Start(VORLANE_BACKEND, error)) << error;
        plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kPrintJobsKey)
            ->WriteText("JobFile", data_.filePath("jobs.txt").toStdString());
    }
    void TearDown() override {
        DemoNetworkFixture::TearDown();
        plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kAdapterPortsKey);
    }

    // Printers > Add Port, the monitor's dialog answered as a person answers it: the card's row once
    // its detection listed it, then OK (Cancel when it never did). The port's name is the one proposed.
    void AddPortFromMenu(const QString& card) {
        QElapsedTimer waiting;
        waiting.start();
        const auto listed = [card](QWidget* dialog) {
            const QTreeWidget* list = dialog->findChild<QTreeWidget*>();
            return list != nullptr && !list->findItems(card, Qt::MatchExactly).isEmpty();
        };
        console::WindowWatch watch(
            "Add Port",
            [card, listed](QWidget* dialog) {
                if (!listed(dialog)) {
                    ADD_FAILURE() << "the port dialog never listed " << card.toStdString();
                    static_cast<QDialog*>(dialog)->reject();
                    return;
                }
                QTreeWidget* list = dialog->findChild<QTreeWidget*>();
                list->setCurrentItem(list->findItems(card, Qt::MatchExactly).front());
                console::Button(dialog, "OK")->click();
            },
            [&waiting, listed](QWidget* dialog) {
                return listed(dialog) || waiting.elapsed() > kDetectionMs;
            });
        FromMenu("mnuCreatePort");
        EXPECT_TRUE(watch.Seen());
    }

    PrivateCupsd cupsd_;
};

TEST_F(PrinterPicturesTest, TheQueuesAndPortsOfADemoPrintServer) {
    OpenConsole();
    SelectCard("Lobby");
    AddPortFromMenu("Lobby");
    ASSERT_EQ(console::PortAdapter("Lobby"), Mac("Lobby").toStdString());
    ASSERT_TRUE(console::HasQueue("Lobby"));
    // A second queue on the port, as lpadmin makes it.
    ASSERT_TRUE(cupsd_.AddQueue("Lobby-Letterhead", "Lobby"));
    // The console sees it at its next detection.
    FromMenu("mnuRefresh");
    SelectCard("Lobby");

    // The jobs of both queues, held so that they wait; the first paused as well.
    for (const char* queue : {"Lobby", "Lobby-Letterhead"}) {
        ASSERT_EQ(RunCommand(std::string("cupsdisable ") + queue), "");
    }
    const std::vector<uint8_t> page(2500, 'x');
    const int report = cupsd_.Print("Lobby", page, "-t 'Quarterly report'");
    const int letter = cupsd_.Print("Lobby-Letterhead", page, "-t 'Letter to suppliers'");
    ASSERT_GT(report, 0);
    ASSERT_GT(letter, 0);
    FromMenuOn<console::frmJobQueue>("mnuJobs", [&](console::frmJobQueue& dialog) {
        QTreeWidget* jobs = dialog.List();
        EXPECT_EQ(Rows(jobs, 7), "Letter to suppliers: Lobby-Letterhead | Quarterly report: Lobby");
        jobs->setCurrentItem(jobs->findItems("Quarterly report", Qt::MatchExactly).value(0));
        dialog.JobCommand(1);
        ASSERT_NE(jobs->currentItem(), nullptr);
        EXPECT_EQ(jobs->currentItem()->text(1), " PAUSED");
        HelpPicture(&dialog, "job-queue");
        dialog.reject();
    });
    for (const int job : {report, letter}) {
        EXPECT_TRUE(cupsd_.Cancel(job)) << job;
    }

    // Properties asks which of the two queues is meant, then opens that one's settings.
    bool opened = false;
    FromMenuOn<console::frmSelectWin>("mnuDevSetting", [&](console::frmSelectWin& choice) {
        QStringList queues;
        for (int row = 0; row < choice.List()->count(); ++row) {
            queues << choice.List()->item(row)->text();
        }
        EXPECT_EQ(queues, (QStringList{"Lobby", "Lobby-Letterhead"}));
        choice.List()->setCurrentRow(0);
        HelpPicture(&choice, "printer-choice");
        OnDialog<console::frmDocumentSettings>([&](console::frmDocumentSettings& settings) {
            opened = true;
            EXPECT_EQ(settings.windowTitle(), "Document Settings for Lobby");
            settings.reject();
        });
        choice.OpenButton()->click();
    });
    EXPECT_TRUE(opened) << "the document settings of the queue chosen";

    // A second port on Lobby whose queue was removed: Delete Port asks which port is meant.
    AddPortFromMenu("Lobby");
    ASSERT_EQ(console::PortAdapter("Lobby00"), Mac("Lobby").toStdString());
    ASSERT_EQ(RunCommand("lpadmin -x Lobby00"), "");
    FromMenuOn<console::frmSelectPort>("mnuDeletePort", [&](console::frmSelectPort& dialog) {
        QTreeWidget* ports = dialog.List();
        EXPECT_EQ(Rows(ports, 1), "Lobby00: no queue | Lobby: Lobby, Lobby-Letterhead");
        HelpPicture(&dialog, "frmSelectPort");
        dialog.reject();
    });
    EXPECT_TRUE(console::PortAdapter("Lobby00")) << "Cancel deletes nothing";
    EXPECT_TRUE(boxes_.Shown().empty()) << boxes_.Shown().front().text.toStdString();
}

}  // namespace
}  // namespace consoletest
