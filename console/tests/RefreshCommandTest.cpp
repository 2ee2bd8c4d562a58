// The Refresh command (F5) where the network lets no request out.
#include <QListWidget>

#include "console/core/PrinterList.h"
#include "console/core/frmProgress.h"
#include "console/tests/CommandsFixture.h"
#include "console/tests/OffTheNetwork.h"

namespace consoletest {
namespace {

// No simulated LAN either: IPX and DLC are absent from the start.
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
        const OffTheNetwork offline;
        ASSERT_TRUE(offline.Left());
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
