// The add queue dialog's context box, typed into as a person types: what the card is told to service
// is always a queue listed at the context that stands in the box, whichever way the command is
// pressed; Enter in the box lists that context and presses nothing else.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "console/configuration/tests/NetWarePageFixture.h"
#include "console/core/StringTable.h"
#include "console/netware/NetWareLibraries.h"
#include "console/netware/frmAddQueue.h"
#include "console/tests/PressButton.h"
#include "console/tests/Typing.h"

namespace console {
namespace {

using consoletest::Press;

const char* const kAdapter = "00C0DE0000B2";
const std::string kCardLine = "card Nq mac=00C0DE0000B2 ip=127.0.2.2 protocols=ip engine=office\n";

// Besides the page's network: one container of one queue for each way of pressing the command.
const char* const kMoreNetWare[] = {"object ACME container SALES.ORG", "object ACME queue Q9.SALES.ORG",
                                    "object ACME container HR.ORG",    "object ACME queue Q8.HR.ORG",
                                    "object ACME container OPS.ORG",   "object ACME queue Q7.OPS.ORG"};

class AddQueueContextTest : public NetWarePageFixture {
  protected:
    AddQueueContextTest() : NetWarePageFixture(kAdapter) {}

    void SetUp() override {
        NetWarePageFixture::SetUp();
        OpenConsole(kCardLine);
        for (const char* line : kPageNetWare) {
            ASSERT_EQ(cards_.Command(std::string("netware ") + line), "ok") << line;
        }
        for (const char* line : kMoreNetWare) {
            ASSERT_EQ(cards_.Command(std::string("netware ") + line), "ok") << line;
        }
        char tree[] = "ACME";
        ASSERT_EQ(tessik::NwNdsLogin(tree, "ADMIN", "ORG", "secret"), kNwOk);
    }

    // Opens the add queue dialog on the page, which lists ENG.ORG's queues; Q1 is chosen there, then
    // `context` typed over the box's; `act` runs with the dialog still up.
    void TypeContext(const QString& context, const std::function<void(frmAddQueue*)>& act) {
        OpenPage();
        WhenModal<frmAddQueue>([context, act](frmAddQueue* dialog) {
            ASSERT_EQ(dialog->txtCurrentContext->text(), "ENG.ORG");
            Pick(dialog->grdItems, "Q1");
            consoletest::Retype(dialog->txtCurrentContext, context);
            act(dialog);
            if (dialog->isVisible()) {
                dialog->cmdCancel->click();
            }
        });
        page_->cmdAdd->click();
    }
};

TEST_F(AddQueueContextTest, EnterInTheContextBoxListsItAndPressesNothingElse) {
    TypeContext("SALES.ORG", [this](frmAddQueue* dialog) {
        // A dialog that a button pressed by Enter opens is named and closed.
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [dialog] {
            auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (other != nullptr && other != dialog) {
                ADD_FAILURE() << other->metaObject()->className() << " came up";
                other->reject();
            }
        });
        guard.start(25);
        QTest::keyClick(dialog->txtCurrentContext, Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(dialog->grdItems->rowCount(), 1);
        EXPECT_EQ(GridRowName(dialog->grdItems, 0), "Q9");
        EXPECT_TRUE(dialog->cmdOk->isEnabled());
        EXPECT_TRUE(boxes_.Shown().empty());
        SavePicture(dialog, "frmAddQueue-typed-context");
    });
    EXPECT_EQ(CardRows(), "") << "nothing was added";
}

// The command that adds the chosen queue acts on the typed context's listing, as it does after a
// click, whose move of the focus lists the context first.
TEST_F(AddQueueContextTest, AddingTakesAQueueListedAtTheTypedContextByMnemonicOrMouse) {
    const std::pair<Press, const char*> cases[] = {{Press::kMnemonic, "SALES.ORG"},
                                                   {Press::kMouse, "HR.ORG"}};
    for (const auto& [way, context] : cases) {
        const Press press = way;  // clang captures no structured binding
        TypeContext(context,
                    [press](frmAddQueue* dialog) { consoletest::PressButton(dialog->cmdOk, press); });
        EXPECT_TRUE(boxes_.Shown().empty())
            << PressName(press) << ": " << boxes_.Shown().front().text.toStdString();
        boxes_.Clear();
    }
    OpenPage();
    ASSERT_EQ(page_->grdQueues->rowCount(), 2) << CardRows();
    EXPECT_EQ(Row(0), QStringList({"Q9.SALES.ORG", "ACME", "PSERVER", "-"}));
    EXPECT_EQ(Row(1), QStringList({"Q8.HR.ORG", "ACME", "PSERVER", "-"}));
    EXPECT_TRUE(Serviced("ACME", "KDR0000B2_ps.SALES.ORG", "Q9.SALES.ORG")) << Show("ACME");
    EXPECT_TRUE(Serviced("ACME", "KDR0000B2_ps.SALES.ORG", "Q8.HR.ORG")) << Show("ACME");
    EXPECT_FALSE(Serviced("ACME", "KDR0000B2_ps.SALES.ORG", "Q1.ENG.ORG")) << Show("ACME");
}

// Deleting asks about, and deletes, a queue listed at the typed context, never the one chosen at the
// context listed before.
TEST_F(AddQueueContextTest, DeletingByMnemonicTakesTheQueueListedAtTheTypedContext) {
    TypeContext("OPS.ORG", [this](frmAddQueue* dialog) {
        consoletest::PressButton(dialog->cmdDeleteQueue, Press::kMnemonic);
        ASSERT_EQ(boxes_.Shown().size(), 1u);
        EXPECT_EQ(boxes_.Shown()[0].text, LoadString(9300) + "Q7?");
        EXPECT_EQ(dialog->grdItems->item(0, 1)->text(), "< No Queues >") << "OPS.ORG listed again";
    });
    const QString directory = QString::fromStdString(Show("ACME")).toUpper();
    EXPECT_FALSE(directory.contains("Q7.OPS.ORG")) << directory.toStdString();
    EXPECT_TRUE(directory.contains("Q1.ENG.ORG")) << directory.toStdString();
    EXPECT_EQ(CardRows(), "");
}

}  // namespace
}  // namespace console
