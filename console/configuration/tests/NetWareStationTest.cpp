// The NetWare page against a scripted station in place of the simulated NetWare network (the card's
// simulator hosts none here): every call of the page and of its dialogs shows the busy cursor for as
// long as it waits, a station that never ends its tree scan gets a message rather than a console
// that hangs, and the add queue dialog names each list that fails.
#include <QComboBox>
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

class NetWareStationTest : public NetWarePageFixture {
  protected:
    NetWareStationTest() : NetWarePageFixture(kAdapter) {}

    void SetUp() override {
        NetWarePageFixture::SetUp();
        OpenConsole(kCardLine);
        StartStation();
    }
    virtual void StartStation() {
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

TEST_F(NetWareStationTest, EveryNetWareCallWaitsUnderTheBusyCursor) {
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
TEST_F(NetWareStationTest, ATreeScanThatNeverEndsGivesAMessage) {
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

// The add queue dialog's lists at its load: the station's K-th "nearest" from then on fails (the
// call that both lists start with), or no station answers at all.
struct ListFailure {
    const char* name;
    bool network;
    int failingNearest;      // 0 the trees' call, 1 the file servers'; -1 none
    std::vector<int> lines;  // the message's lines, by the id of the list's name
};

void PrintTo(const ListFailure& failure, std::ostream* out) {
    *out << failure.name;
}

constexpr int kFileServersFailed = 5131;
constexpr int kTreesFailed = 5132;

const ListFailure kListFailures[] = {
    {"NoNetWareNetwork", false, -1, {kTreesFailed, kFileServersFailed}},
    {"TreesOnly", true, 0, {kTreesFailed}},
    {"FileServersOnly", true, 1, {kFileServersFailed}},
};

class AddQueueListTest : public NetWareStationTest, public ::testing::WithParamInterface<ListFailure> {
  protected:
    void StartStation() override {
        if (GetParam().network) {
            NetWareStationTest::StartStation();
        }
    }
};

TEST_P(AddQueueListTest, OneMessageNamesEachListThatFailed) {
    const ListFailure& failure = GetParam();
    const auto failed = [&failure](int id) {
        return std::find(failure.lines.begin(), failure.lines.end(), id) != failure.lines.end();
    };
    OpenPage();
    const int before = station_.Requests("nearest");
    station_.Take("nearest",
                  [&](const std::vector<std::string>&,
                      int earlier) -> std::optional<nwtest::ScriptedNetWareStation::Answer> {
                      if (earlier - before != failure.failingNearest) {
                          return std::nullopt;
                      }
                      return nwtest::ScriptedNetWareStation::Answer{plat::kNwServerUnreachable, {}};
                  });
    boxes_.Clear();
    if (!failed(kFileServersFailed)) {
        // The file server's queues are listed next, which asks for a login.
        WhenModal<frmLogin>([](frmLogin* login) { login->cmdCancel->click(); });
    }
    WhenModal<frmAddQueue>([&](frmAddQueue* dialog) {
        EXPECT_EQ(dialog->cmbNdsTrees->currentText() == LoadString(5130), failed(kTreesFailed));
        EXPECT_EQ(dialog->cmbFileServers->currentText() == LoadString(5130), failed(kFileServersFailed));
        SavePicture(dialog, QString("frmAddQueue-failed-") + failure.name);
        dialog->cmdCancel->click();
    });
    page_->cmdAdd->click();
    QStringList expected;
    for (const int id : failure.lines) {
        expected << LoadString(id) + " Unable to connect to file server";
    }
    std::vector<std::string> aboutLists;
    for (const MessageShown& shown : boxes_.Shown()) {
        if (shown.text.contains(LoadString(kTreesFailed)) ||
            shown.text.contains(LoadString(kFileServersFailed))) {
            aboutLists.push_back(shown.text.toStdString());
            EXPECT_EQ(shown.kind, kWarning);
        }
    }
    EXPECT_EQ(aboutLists, std::vector<std::string>{expected.join('\n').toStdString()});
}

INSTANTIATE_TEST_SUITE_P(Lists, AddQueueListTest, ::testing::ValuesIn(kListFailures),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace console
