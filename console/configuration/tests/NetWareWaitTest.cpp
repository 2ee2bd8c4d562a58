// The console while the NetWare network makes it wait: every call of the NetWare page and of its
// dialogs shows the busy cursor for as long as it waits, and a station that never ends its tree
// scan gets a message, not a console that hangs. A scripted station answers in place of the
// simulated NetWare network (the card's simulator hosts none here).
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <mutex>

#include "console/configuration/tests/NetWarePageFixture.h"
#include "console/core/StringTable.h"
#include "console/netware/NetWareLibraries.h"
#include "console/netware/frmAddQueue.h"
#include "console/netware/frmLogin.h"
#include "netware/ScanRounds.h"
#include "tests/ScriptedNetWareStation.h"

namespace console {
namespace {

const char* const kAdapter = "00C0DE0000B2";
const std::string kCardLine = "card Wait mac=00C0DE0000B2 ip=127.0.2.2 protocols=ip engine=office\n";

class NetWareWaitTest : public NetWarePageFixture {
  protected:
    NetWareWaitTest() : NetWarePageFixture(kAdapter) {}

    void SetUp() override {
        NetWarePageFixture::SetUp();
        OpenConsole(kCardLine);
        std::string error;
        ASSERT_TRUE(station_.Start(error)) << error;
        for (const char* line : kPageNetWare) {
            ASSERT_EQ(station_.Control(line), "ok") << line;
        }
    }
    void TearDown() override {
        station_.Watch({});
        NetWarePageFixture::TearDown();
    }

    nwtest::ScriptedNetWareStation station_;
};

TEST_F(NetWareWaitTest, EveryNetWareCallWaitsUnderTheBusyCursor) {
    std::mutex mutex;
    std::vector<std::string> calls, idle;
    // The console's thread waits for this very answer, so the cursor it set stays as it is while
    // the station looks.
    station_.Watch([&](const std::vector<std::string>& fields) {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        std::lock_guard lock(mutex);
        calls.push_back(fields[0]);
        if (cursor == nullptr || cursor->shape() != Qt::WaitCursor) {
            idle.push_back(fields[0]);
        }
    });
    OpenPage();
    WhenModal<frmAddQueue>([](frmAddQueue* dialog) {
        WhenModal<frmLogin>([](frmLogin* login) {
            Type(login->txtUserName, "ADMIN");
            Type(login->txtPasswd, "secret");
            login->cmdOk->click();
        });
        dialog->optFileServers->click();
        Pick(dialog->grdItems, "Q1");
        dialog->cmdOk->click();
        if (dialog->isVisible()) {
            dialog->cmdCancel->click();
        }
    });
    page_->cmdAdd->click();
    ASSERT_EQ(Row(0), QStringList({"Q1", "FS1", "PSERVER", "-"}));
    SelectRow(0);
    page_->cmdRemove->click();
    EXPECT_EQ(Cell(0, 1), "< No Queues >");

    std::lock_guard lock(mutex);
    for (const char* call : {"tree-scan", "list-objects", "server-tree", "bindery-login", "queue-scan",
                             "add-value", "remove-value"}) {
        EXPECT_NE(std::find(calls.begin(), calls.end(), call), calls.end()) << call << " was made";
    }
    EXPECT_TRUE(idle.empty()) << "without the busy cursor: " << ::testing::PrintToString(idle);
}

// Remove Q of a tree queue needs the tree, which the station never ends listing.
TEST_F(NetWareWaitTest, ATreeScanThatNeverEndsGivesAMessage) {
    char tree[] = "ACME";
    ASSERT_EQ(tessik::NwNdsLogin(tree, "ADMIN", "ORG", "secret"), kNwOk);
    ASSERT_EQ(
        tessik::NwNdsAddSerList(kAdapter, tree, "Q1", "ENG.ORG", 3, "KDR0000B2", "ENG.ORG", "KDR0000B2_ps"),
        kNwOk);
    station_.Take("tree-scan",
                  [](const std::vector<std::string>&,
                     int earlier) -> std::optional<nwtest::ScriptedNetWareStation::Answer> {
                      // Gives in long after the library's bound, so that a console that goes round fails
                      // here.
                      if (earlier >= 4 * ScanRounds::kMostRounds) {
                          return std::nullopt;
                      }
                      return nwtest::ScriptedNetWareStation::Answer{plat::kNwSuccess, {"0", "OTHER"}};
                  });
    OpenPage();
    ASSERT_EQ(Row(0), QStringList({"Q1.ENG.ORG", "ACME", "PSERVER", "-"}));
    boxes_.Clear();
    SelectRow(0);
    page_->cmdRemove->click();
    ASSERT_EQ(boxes_.Shown().size(), 2u) << "the question, then the failure";
    EXPECT_EQ(boxes_.Shown()[1].text.toStdString(), LoadString(30002).toStdString());
    EXPECT_EQ(Row(0), QStringList({"Q1.ENG.ORG", "ACME", "PSERVER", "-"})) << "the queue stays";
    EXPECT_NE(CardRows().find("ACME\\Q1.ENG.ORG"), std::string::npos) << CardRows();
    SavePicture(page_.get(), "frmConfiguration-Netware-endless-tree");
}

}  // namespace
}  // namespace console
