// The port dialogs, offscreen, against simulated print servers: detection, add, configure, delete,
// add by address; a picture of each dialog is saved into the build folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <thread>

#include "platform/spooler/LastError.h"
#include "platform/spooler/Spooler.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "portmonitor/MonitorEntries.h"
#include "portmonitor/PortList.h"
#include "portmonitor/PortServices.h"
#include "portmonitor/PortSetup.h"
#include "portmonitor/PortStore.h"
#include "portmonitor/dialogs/AddPrinterDialog.h"
#include "portmonitor/dialogs/MonitorMessages.h"
#include "portmonitor/dialogs/PortDialog.h"
#include "simulator/Simulator.h"
#include "tests/QuickExchanges.h"

namespace portmon::test {
namespace {

const char* const kAdapters[] = {"00C0DE000701", "00C0DE000702", "00C0DE000703", "00C0DE000704"};
// A print server's name off the network, with a line end in it, and as the list shows it.
const char* const kHostileServer = "Yard\nSTATE: +x";
const QString kHostileRow = "Yard\\x0ASTATE: +x";

sim::CardDescription Card(int i, const std::string& name) {
    sim::CardDescription card;
    card.name = name;
    card.location = "Print room";
    card.mac = {0x00, 0xC0, 0xDE, 0x00, 0x07, static_cast<uint8_t>(i + 1)};
    card.ip = {127, 0, 7, static_cast<uint8_t>(i + 1)};
    return card;
}

uint32_t Category(const std::string& adapter) {
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + adapter;
    std::optional<plat::StoreKeyHandle> entry =
        plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, path.c_str());
    return entry ? entry->ReadNumber("Category").value_or(0xFFFF) : 0xFFFF;
}

void Picture(QWidget& widget, const char* name) {
    widget.grab().save(QString(PICTURE_DIR) + "/" + name + ".png");
}

// Runs the event loop until `done` or the time runs out (by default a bound for a loaded machine).
bool Await(const std::function<bool()>& done, int milliseconds = 60000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

// The row of the list whose print server has that name.
QTreeWidgetItem* Row(QTreeWidget* list, const QString& name) {
    const QList<QTreeWidgetItem*> found = list->findItems(name, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.front();
}

class PortDialogTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StoreQuickExchangeSettings());
        cards_ = new sim::Simulator;
        cards_->AddCard(Card(0, "Lobby"));
        cards_->AddCard(Card(1, "Cellar"));
        cards_->AddCard(Card(2, "AVeryLongPrinterName"));
        cards_->AddCard(Card(3, kHostileServer));
        std::string error;
        ASSERT_TRUE(cards_->Start(error)) << error;
    }
    static void TearDownTestSuite() { delete cards_; }

    void SetUp() override {
        SetMessageHook([this](MessageKind, const std::string& text, const std::string&) {
            messages_.push_back(text);
            return answer_;
        });
    }
    void TearDown() override {
        SetMessageHook(nullptr);
        for (const std::string& name : PortNames()) {
            RemovePort(name);
            DeletePortEntry(name);
        }
    }

    // A port dialog shown and filled by its detection.
    std::unique_ptr<PortDialog> OpenDialog(bool configure, const std::string& port = "") {
        auto dialog = std::make_unique<PortDialog>(configure, port, MonitorPortServices());
        dialog->show();
        EXPECT_TRUE(Await([&] { return dialog->ServerList()->topLevelItemCount() == 4; }));
        return dialog;
    }

    static sim::Simulator* cards_;
    std::vector<std::string> messages_;
    bool answer_ = true;
};

sim::Simulator* PortDialogTest::cards_ = nullptr;

TEST_F(PortDialogTest, AddsConfiguresAndDeletesAPortWhileCategoryFollows) {
    std::unique_ptr<PortDialog> add = OpenDialog(false);
    EXPECT_EQ(add->windowTitle(), "Add Port");
    QTreeWidget* list = add->ServerList();
    // Sorted by name; the columns show the record's texts.
    EXPECT_EQ(list->topLevelItem(0)->text(0), "AVeryLongPrinterName");
    EXPECT_EQ(list->topLevelItem(1)->text(1), kAdapters[1]);
    EXPECT_EQ(list->topLevelItem(2)->text(2), "127.0.7.1");

    add->OkButton()->click();
    EXPECT_EQ(messages_, std::vector<std::string>{"Select a Printer from the List"});
    list->setCurrentItem(Row(list, "AVeryLongPrinterName"));
    EXPECT_EQ(add->PortNameBox()->text(), "AVeryLongPrin");
    list->setCurrentItem(Row(list, "Lobby"));
    EXPECT_EQ(add->PortNameBox()->text(), "Lobby");
    Picture(*add, "portmonitor-add-port");
    add->OkButton()->click();
    EXPECT_EQ(add->result(), QDialog::Accepted);
    EXPECT_TRUE(PortExists("Lobby"));
    EXPECT_EQ(PortAdapter("Lobby"), kAdapters[0]);
    EXPECT_EQ(Category(kAdapters[0]), 6u);

    // A second port on the same print server proposes a numbered name.
    std::unique_ptr<PortDialog> second = OpenDialog(false);
    second->ServerList()->setCurrentItem(Row(second->ServerList(), "Lobby"));
    EXPECT_EQ(second->PortNameBox()->text(), "Lobby00");
    second->OkButton()->click();
    EXPECT_EQ(Category(kAdapters[0]), 10u);

    // Configure: the dialog opens on the port's print server; the name stays, the port moves to
    // another print server.
    std::unique_ptr<PortDialog> configure = OpenDialog(true, "Lobby");
    EXPECT_EQ(configure->windowTitle(), "Configure Port");
    EXPECT_FALSE(configure->PortNameBox()->isEnabled());
    EXPECT_EQ(configure->ServerList()->selectedItems(),
              QList<QTreeWidgetItem*>{Row(configure->ServerList(), "Lobby")});
    Picture(*configure, "portmonitor-configure-port-opened");
    configure->ServerList()->setCurrentItem(Row(configure->ServerList(), "Cellar"));
    EXPECT_EQ(configure->PortNameBox()->text(), "Lobby");
    Picture(*configure, "portmonitor-configure-port");
    configure->OkButton()->click();
    EXPECT_EQ(configure->result(), QDialog::Accepted);
    EXPECT_EQ(PortAdapter("Lobby"), kAdapters[1]);
    EXPECT_EQ(Category(kAdapters[0]), 6u);
    EXPECT_EQ(Category(kAdapters[1]), 6u);

    EXPECT_TRUE(DeletePort(nullptr, 0, "Lobby"));
    EXPECT_TRUE(DeletePort(nullptr, 0, "Lobby00"));
    EXPECT_EQ(Category(kAdapters[0]), 2u);
    EXPECT_EQ(Category(kAdapters[1]), 2u);
}

TEST_F(PortDialogTest, NamesAndDuplicatesAreChecked) {
    std::unique_ptr<PortDialog> dialog = OpenDialog(false);
    dialog->ServerList()->setCurrentItem(Row(dialog->ServerList(), "Cellar"));
    dialog->PortNameBox()->setMaxLength(40);
    dialog->PortNameBox()->setText("SeventeenLetters!");
    dialog->OkButton()->click();
    dialog->PortNameBox()->setText("");
    dialog->OkButton()->click();
    EXPECT_EQ(messages_, (std::vector<std::string>{"Enter a valid port name", "Enter a valid port name"}));
    EXPECT_TRUE(PortNames().empty());

    dialog->PortNameBox()->setText("Cellar");
    dialog->OkButton()->click();
    ASSERT_TRUE(PortExists("Cellar"));
    // Add mode with an existing name, Cancel on the question: nothing changes.
    std::unique_ptr<PortDialog> again = OpenDialog(false);
    again->ServerList()->setCurrentItem(Row(again->ServerList(), "Lobby"));
    again->PortNameBox()->setText("cellar");
    messages_.clear();
    answer_ = false;
    again->OkButton()->click();
    EXPECT_EQ(messages_, std::vector<std::string>{"Duplicate Port Name. Do you wish to delete?"});
    EXPECT_EQ(PortAdapter("Cellar"), kAdapters[1]);
    EXPECT_EQ(Category(kAdapters[1]), 6u);
    EXPECT_NE(again->result(), QDialog::Accepted);
    // OK on the question: the old port goes and the new one takes its name.
    answer_ = true;
    again->OkButton()->click();
    EXPECT_EQ(PortAdapter("cellar"), kAdapters[0]);
    EXPECT_EQ(Category(kAdapters[1]), 2u);
    EXPECT_EQ(Category(kAdapters[0]), 6u);
}

// A port's name goes into what the backend tells cupsd and into its queue's name: a control
// character has no place in it. The list shows a print server's name with its line end as a code,
// the proposal from it leaves the line end out, a name typed with one is refused with a word of why,
// and the monitor takes none from elsewhere either.
TEST_F(PortDialogTest, ControlCharactersNeverMakeAPortName) {
    std::unique_ptr<PortDialog> dialog = OpenDialog(false);
    dialog->ServerList()->setCurrentItem(Row(dialog->ServerList(), kHostileRow));
    EXPECT_EQ(dialog->PortNameBox()->text(), "YardSTATE: +x");
    for (const QString& name : {QString("Bad\tName"), QString("Line\nEnd"), QString("Nel\u0085")}) {
        messages_.clear();
        dialog->PortNameBox()->setText(name);
        dialog->OkButton()->click();
        EXPECT_EQ(messages_, std::vector<std::string>{"Enter a port name without control characters (a line "
                                                      "end, a tab and the like)."})
            << name.toStdString();
    }
    Picture(*dialog, "portmonitor-add-port-control-character");
    EXPECT_TRUE(PortNames().empty());
    EXPECT_EQ(SetUpPort(*ReadServerRecord(kAdapters[3]), "a\nb", false), PortSetupResult::BadName);
    EXPECT_TRUE(PortNames().empty());
    EXPECT_EQ(Category(kAdapters[3]), 2u);

    dialog->ServerList()->clearSelection();
    dialog->ServerList()->setCurrentItem(Row(dialog->ServerList(), kHostileRow));
    dialog->OkButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(PortAdapter("YardSTATE: +x"), kAdapters[3]);
}

TEST_F(PortDialogTest, ProposedNamesFitSixteenCharacters) {
    ServerRecord record = *ReadServerRecord(kAdapters[2]);
    ASSERT_EQ(SetUpPort(record, "FifteenLetters1", false), PortSetupResult::Done);
    EXPECT_EQ(ProposePortName("FifteenLetters1"), "FifteenLetters00");
    ASSERT_EQ(SetUpPort(record, "AVeryLongPrin", false), PortSetupResult::Done);
    EXPECT_EQ(ProposePortName("AVeryLongPrinterName"), "AVeryLongPrin00");
}

TEST_F(PortDialogTest, AddsAPrintServerByAddress) {
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + kAdapters[1];
    std::optional<plat::StoreKeyHandle> store =
        plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kAdapterOnlyKey, plat::kStoreReadWrite);
    std::unique_ptr<PortDialog> dialog = OpenDialog(false);
    ASSERT_EQ(plat::StoreDeleteKey(store->Get(), kAdapters[1]), plat::kStoreOk);
    dialog->Refill();
    EXPECT_EQ(dialog->ServerList()->topLevelItemCount(), 3);

    AddPrinterDialog add(dialog.get());
    add.show();
    EXPECT_EQ(add.windowTitle(), "Add New Printer");
    EXPECT_TRUE(add.Hint()->text().startsWith("Enter the Print Server Name."));
    add.Kinds()->setCurrentIndex(1);
    EXPECT_TRUE(add.Hint()->text().startsWith("Enter the IP Address"));
    EXPECT_TRUE(add.IpBox(0)->isVisible());
    EXPECT_FALSE(add.NameBox()->isVisible());
    for (int i = 0; i < 4; ++i) {
        add.IpBox(i)->setText(QString::number(i == 3 ? 300 : std::array{10, 1, 2}[static_cast<size_t>(i)]));
    }
    add.Ok();  // 300 is no address part: the dialog stays open without a word
    EXPECT_TRUE(messages_.empty());
    EXPECT_FALSE(add.Address());
    const char* address[] = {"127", "0", "7", "2"};
    for (int i = 0; i < 4; ++i) {
        add.IpBox(i)->setText(address[i]);
    }
    Picture(add, "portmonitor-add-printer");
    add.Ok();
    EXPECT_EQ(add.result(), QDialog::Accepted) << (messages_.empty() ? "" : messages_.front());
    dialog->Refill();
    EXPECT_NE(Row(dialog->ServerList(), "Cellar"), nullptr);

    // IPX: the network is padded with '0' to 8 digits; text that is not hexadecimal is refused.
    AddPrinterDialog ipx;
    ipx.Kinds()->setCurrentIndex(2);
    ipx.NetworkBox()->setText("8022");
    ipx.NodeBox()->setText("0000f0a02f57");
    EXPECT_EQ(ipx.Address(), std::optional(std::pair<std::string, int>("000080220000f0a02f57", 1)));
    ipx.NetworkBox()->setText("80G2");
    EXPECT_FALSE(ipx.Address());
    ipx.Kinds()->setCurrentIndex(3);
    ipx.NameBox()->setText("00C0DE0007FF");
    ipx.Ok();
    EXPECT_EQ(messages_.back(), "No Response from the print server.");
}

// Through the spooler's call, which loads the monitor library by name as the spooler does.
TEST_F(PortDialogTest, CancelInTheAddDialogIsNoSuccess) {
    EXPECT_FALSE(plat::AddPort(nullptr, 0, "Another Monitor"));
    QTimer::singleShot(0, [] {
        ASSERT_TRUE(Await([] { return QApplication::activeModalWidget() != nullptr; }));
        QApplication::activeModalWidget()->close();
    });
    plat::SetLastError(0);
    EXPECT_FALSE(plat::AddPort(nullptr, 0, "Vorlane Network Printer Port"));
    EXPECT_EQ(plat::GetLastError(), plat::kErrorCancelled);
    std::optional<plat::StoreKeyHandle> ports =
        plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kAdapterPortsKey);
    EXPECT_TRUE(!ports || ports->SubkeyNames().empty());
}

}  // namespace
}  // namespace portmon::test
