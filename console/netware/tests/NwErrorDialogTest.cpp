// The NetWare error dialog: the three messages with several causes reach it while the flag is up,
// with the reasons of 25011 behind Details; every other message, and all of them with the flag
// down, stay ordinary boxes.
#include <QLabel>

#include "console/netware/tests/NetWareDialogsFixture.h"

namespace console {
namespace {

class NwErrorDialogTest : public NetWareDialogsFixture {};

TEST_F(NwErrorDialogTest, SetUpResultsWithSeveralCausesGetTheDialog) {
    struct Case {
        int code;
        QString text;
        bool details;
    };
    for (const Case& c :
         {Case{30021, "Insufficient NetWare privileges (or) invalid print server chosen", false},
          Case{30027, "Unable to save your settings to print server (or) queue does not exist", false},
          Case{25011, "", true}}) {
        bool shown = false;
        WhenModal<frmNwError>([&](frmNwError* dialog) {
            shown = true;
            if (!c.text.isEmpty()) {
                EXPECT_EQ(dialog->lblErrorString->text(), c.text);
            }
            EXPECT_EQ(dialog->cmdDetails->isVisible(), c.details);
            EXPECT_FALSE(dialog->picDetails->isVisible()) << "the reasons start hidden";
            SavePicture(dialog, "frmNwError-" + QString::number(c.code));
            if (c.details) {
                const int closed = dialog->height();
                dialog->cmdDetails->click();
                QApplication::processEvents();
                EXPECT_TRUE(dialog->picDetails->isVisible());
                EXPECT_GT(dialog->height(), closed);
                EXPECT_TRUE(dialog->picDetails->text().contains(
                    "<b>This may be due to one of the following reasons: </b>"));
                EXPECT_TRUE(
                    dialog->picDetails->text().contains("Maximum queue limit on print server exceeded"));
                SavePicture(dialog, "frmNwError-25011-details");
                dialog->cmdDetails->click();
                QApplication::processEvents();
                EXPECT_FALSE(dialog->picDetails->isVisible());
            }
            dialog->cmdOk->click();
        });
        EXPECT_EQ(ShowNetWareSetupResult(c.code), kOk);
        EXPECT_TRUE(shown) << c.code;
        EXPECT_EQ(NwErrorId, c.code);
        EXPECT_EQ(NwErrorDialogFlag, 0) << "the flag goes down again";
        EXPECT_EQ(Boxes(), QStringList()) << c.code;
    }
}

TEST_F(NwErrorDialogTest, OtherMessagesAndALoweredFlagKeepTheOrdinaryBox) {
    EXPECT_EQ(ShowNetWareSetupResult(30005), kOk);
    EXPECT_EQ(Boxes(), QStringList{"Unable to create queue"});
    EXPECT_EQ(ShowResult(30021, kWarning), kOk);
    EXPECT_EQ(Boxes(), QStringList{"Unable to create printer"});
    EXPECT_EQ(ShowNetWareSetupResult(0), kOk);
    EXPECT_EQ(Boxes(), QStringList()) << "success is no message";
}

}  // namespace
}  // namespace console
