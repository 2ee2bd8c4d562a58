// The port dialogs as the help shows them: offscreen, against the print servers of the demo's
// network (scripts/demo-network.txt), with the names and addresses an administrator sees there. The
// pictures go into the build folder under the names the help pages use.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>

#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "portmonitor/PortList.h"
#include "portmonitor/PortServices.h"
#include "portmonitor/PortStore.h"
#include "portmonitor/dialogs/AddPrinterDialog.h"
#include "portmonitor/dialogs/MonitorMessages.h"
#include "portmonitor/dialogs/PortDialog.h"
#include "portmonitor/tests/DemoNetwork.h"
#include "simulator/Simulator.h"
#include "tests/QuickExchanges.h"

namespace portmon::test {
namespace {

// A detection on a loaded machine.
constexpr int kDetectionMs = 60000;

void Picture(QWidget& widget, const char* name) {
    ASSERT_TRUE(widget.grab().save(QString(PICTURE_DIR) + "/" + name + ".png")) << name;
}

QTreeWidgetItem* Row(QTreeWidget* list, const QString& name) {
    const QList<QTreeWidgetItem*> found = list->findItems(name, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.front();
}

class PortDialogPicturesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StoreQuickExchangeSettings());
        demo_ = new sim::NetworkDescription(DemoNetwork());
        ASSERT_FALSE(demo_->cards.empty());
        cards_ = new sim::Simulator(demo_->options);
        for (const sim::CardDescription& card : demo_->cards) {
            cards_->AddCard(card);
        }
        std::string error;
        ASSERT_TRUE(cards_->Start(error)) << error;
    }
    static void TearDownTestSuite() {
        delete cards_;
        delete demo_;
    }

    void SetUp() override {
        SetMessageHook([this](MessageKind, const std::string& text, const std::string&) {
            messages_.push_back(text);
            return true;
        });
    }
    void TearDown() override {
        SetMessageHook(nullptr);
        for (const std::string& name : PortNames()) {
            RemovePort(name);
            DeletePortEntry(name);
        }
    }

    static const sim::CardDescription& Card(const std::string& name) { return DemoCard(*demo_, name); }
    // The demo's print servers that are set up, which the dialog offers once its detection is done
    // (a card fresh from its box is offered for no port).
    static std::vector<const sim::CardDescription*> SetUpCards() {
        std::vector<const sim::CardDescription*> set;
        for (const sim::CardDescription& card : demo_->cards) {
            if ((card.category & 2) != 0) {
                set.push_back(&card);
            }
        }
        return set;
    }

    // A port dialog shown and filled by its detection.
    std::unique_ptr<PortDialog> OpenDialog(bool configure, const std::string& port = "") {
        auto dialog = std::make_unique<PortDialog>(configure, port, MonitorPortServices());
        dialog->show();
        const auto listed = [&] {
            for (const sim::CardDescription* card : SetUpCards()) {
                if (Row(dialog->ServerList(), QString::fromStdString(card->name)) == nullptr) {
                    return false;
                }
            }
            return true;
        };
        EXPECT_TRUE(QTest::qWaitFor(listed, kDetectionMs));
        return dialog;
    }

    inline static sim::NetworkDescription* demo_ = nullptr;
    inline static sim::Simulator* cards_ = nullptr;
    std::vector<std::string> messages_;
};

TEST_F(PortDialogPicturesTest, AddAndConfigureListTheDemoPrintServers) {
    std::unique_ptr<PortDialog> add = OpenDialog(false);
    QTreeWidget* list = add->ServerList();
    for (const sim::CardDescription* card : SetUpCards()) {
        const QTreeWidgetItem* row = Row(list, QString::fromStdString(card->name));
        ASSERT_NE(row, nullptr) << card->name;
        EXPECT_EQ(row->text(1), MacText(card->mac)) << card->name;
        EXPECT_EQ(row->text(2), IpText(card->ip)) << card->name;
    }
    EXPECT_EQ(list->topLevelItemCount(), static_cast<int>(SetUpCards().size()))
        << "nothing but the demo's cards";

    list->setCurrentItem(Row(list, "Lobby"));
    EXPECT_EQ(add->PortNameBox()->text(), "Lobby");
    Picture(*add, "help-portmonitor-add-port");
    add->OkButton()->click();
    EXPECT_EQ(add->result(), QDialog::Accepted);
    EXPECT_EQ(PortAdapter("Lobby"), MacText(Card("Lobby").mac).toStdString());

    // The port moves to the print server at the reception; its name stays.
    std::unique_ptr<PortDialog> configure = OpenDialog(true, "Lobby");
    EXPECT_EQ(configure->ServerList()->selectedItems(),
              QList<QTreeWidgetItem*>{Row(configure->ServerList(), "Lobby")});
    configure->ServerList()->setCurrentItem(Row(configure->ServerList(), "Reception"));
    EXPECT_EQ(configure->PortNameBox()->text(), "Lobby");
    Picture(*configure, "help-portmonitor-configure-port");
    configure->OkButton()->click();
    EXPECT_EQ(configure->result(), QDialog::Accepted);
    EXPECT_EQ(PortAdapter("Lobby"), MacText(Card("Reception").mac).toStdString());
    EXPECT_TRUE(messages_.empty()) << messages_.front();
}

// A print server the dialog does not list is added by the address it has on the demo's network.
TEST_F(PortDialogPicturesTest, AddNewPrintServerFindsADemoPrintServerByItsAddress) {
    const sim::CardDescription& design = Card("Design");
    std::unique_ptr<PortDialog> dialog = OpenDialog(false);
    const std::optional<plat::StoreKeyHandle> store =
        plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kAdapterOnlyKey, plat::kStoreReadWrite);
    ASSERT_TRUE(store);
    ASSERT_EQ(plat::StoreDeleteKey(store->Get(), MacText(design.mac).toStdString().c_str()), plat::kStoreOk);
    dialog->Refill();
    ASSERT_EQ(Row(dialog->ServerList(), "Design"), nullptr);

    AddPrinterDialog add(dialog.get());
    add.show();
    add.Kinds()->setCurrentIndex(1);
    for (int i = 0; i < 4; ++i) {
        add.IpBox(i)->setText(QString::number(design.ip[static_cast<std::size_t>(i)]));
    }
    Picture(add, "help-portmonitor-add-printer");
    add.Ok();
    EXPECT_EQ(add.result(), QDialog::Accepted) << (messages_.empty() ? "" : messages_.front());
    dialog->Refill();
    const QTreeWidgetItem* row = Row(dialog->ServerList(), "Design");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(1), MacText(design.mac));
}

}  // namespace
}  // namespace portmon::test
