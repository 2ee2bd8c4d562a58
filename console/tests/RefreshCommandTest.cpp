// The Refresh command (F5) where the network lets no request out.
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <QListWidget>

#include "console/core/PrinterList.h"
#include "console/core/frmProgress.h"
#include "console/tests/CommandsFixture.h"

namespace consoletest {
namespace {

// This thread in a network of its own with nothing up, not even loopback, for as long as it
// lives; no simulated LAN either (IPX and DLC are then absent from the start).
class NoNetwork {
  public:
    NoNetwork() : before_(open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC)) {
        EXPECT_GE(before_, 0);
        EXPECT_EQ(unshare(CLONE_NEWNET), 0) << "the tests run as root of their own namespace";
    }
    ~NoNetwork() {
        EXPECT_EQ(setns(before_, CLONE_NEWNET), 0);
        close(before_);
    }
    NoNetwork(const NoNetwork&) = delete;
    NoNetwork& operator=(const NoNetwork&) = delete;

  private:
    int before_;
};

class RefreshCommandTest : public CommandsFixture {
  protected:
    void SetUp() override {
        CommandsFixture::SetUp();
        lan_ = qgetenv("VORLANE_LAN");
        qunsetenv("VORLANE_LAN");
    }
    void TearDown() override {
        CommandsFixture::TearDown();
        qputenv("VORLANE_LAN", lan_);
    }
    QByteArray lan_;
};

TEST_F(RefreshCommandTest, ADetectionThatCouldSendNothingSaysSoAndClaimsNoSuccess) {
    OpenConsole(false);
    QStringList lines;
    console::SetMessageHook([&](const console::MessageShown& shown) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* progress = qobject_cast<console::frmProgress*>(widget)) {
                for (int line = 0; line < progress->Lines()->count(); ++line) {
                    lines << progress->Lines()->item(line)->text();
                }
                SavePicture(progress, "frmProgress-nothing-sent");
            }
        }
        lines << "box: " + shown.text;
        return int{console::kOk};
    });
    {
        NoNetwork offline;
        FromKey(Qt::Key_F5);
    }
    const QString nothingSent =
        "Detection could not run: no request could be sent. Check the network settings.";
    EXPECT_TRUE(lines.contains("box: " + nothingSent)) << lines.join(" | ").toStdString();
    EXPECT_FALSE(lines.contains("Operation Complete.")) << lines.join(" | ").toStdString();
    EXPECT_EQ(lines.isEmpty() ? QString() : lines.last(), "box: " + nothingSent);
    EXPECT_FALSE(console::State().commandBusy);
}

}  // namespace
}  // namespace consoletest
