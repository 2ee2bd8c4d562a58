// Faults inside the console's handlers, reached as a person reaches them: one in a command is shown
// and the console goes on; one in start-up (a library of the system missing) ends the console.
#include <QToolBar>
#include <QToolButton>

#include <cstdio>

#include "console/core/CommandTable.h"
#include "console/core/PrinterList.h"
#include "console/core/StringTable.h"
#include "console/properties/frmPrStatus.h"
#include "console/tests/CommandsFixture.h"
#include "platform/services/ModuleLoader.h"

namespace consoletest {
namespace {

class FaultRuleTest : public CommandsFixture {};

TEST_F(FaultRuleTest, AFaultInACommandIsShownAndTheConsoleGoesOn) {
    StartCards("card Status mac=00005E490001 ip=127.0.30.1\n");
    OpenConsole();
    Select("00005E490001");
    // A dialog whose texts are missing from the table: its command fails where it starts.
    console::SetCommand("mnuPrStatus", [](console::NewLook&) { console::LoadString(29999); });
    auto* bar = console_->findChild<QToolBar*>("picMenuBar");
    auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(console_->Action("mnuPrStatus")));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    FromKey(Qt::Key_F6);
    ASSERT_EQ(boxes_.Shown().size(), 2u);
    for (const console::MessageShown& shown : boxes_.Shown()) {
        EXPECT_EQ(shown.title, "System Error");
        EXPECT_NE(shown.text.indexOf("29999"), -1) << shown.text.toStdString();
    }
    EXPECT_FALSE(console::State().commandBusy) << "the command's end ran all the same";

    // The console goes on: the command works again once its dialog can open.
    console::WireCommands();
    bool opened = false;
    OnDialog<console::frmPrStatus>([&](console::frmPrStatus& dialog) {
        opened = true;
        dialog.reject();
    });
    FromKey(Qt::Key_F6);
    EXPECT_TRUE(opened);
}

// The start-up cannot go on without the configuration helper library: the console says that its
// installation is broken and ends at once.
TEST_F(FaultRuleTest, AMissingLibraryAtStartUpEndsTheConsole) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            plat::MapModuleName("Halbrin.dll", "");
            console::SetMessageHook([](const console::MessageShown& shown) {
                std::fprintf(stderr, "box: %s\n", shown.text.toUtf8().constData());
                return int{console::kOk};
            });
            OpenConsole(false);
        },
        ::testing::ExitedWithCode(EXIT_FAILURE), "box: Internal Error... Shutting Down");
}

}  // namespace
}  // namespace consoletest
