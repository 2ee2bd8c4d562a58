// The browse dialog in its three modes: the directory walked up and down, the choice each mode gives
// back, the bindery print server list, and what the user sees when a list cannot be had.
#include <QKeyEvent>
#include <QTest>
#include <QToolButton>

#include "console/netware/frmBrowse.h"
#include "console/netware/tests/NetWareDialogsFixture.h"

namespace console {
namespace {

class BrowseDialogTest : public NetWareDialogsFixture {
  protected:
    void Prepare(const QString& mode, const QString& context, int16_t bindery = 0) {
        BrowseMode = mode;
        BrowseBindery = bindery;
        BrowseFileServer = "FS1";
        BrowseTree = "ACME";
        BrowseContext = context;
        BrowseAccepted = 0;
        BrowseChoice.clear();
        BrowseChoiceContext.clear();
    }
    static void Press(QWidget* widget, int key) { QTest::keyClick(widget, static_cast<Qt::Key>(key)); }
};

TEST_F(BrowseDialogTest, AContextIsWalkedUpAndDownAndTheCurrentOneChosen) {
    Prepare("CONTEXT", "ENG.ORG");
    frmBrowse dialog(nullptr);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Browse for Context");
    EXPECT_FALSE(dialog.txtFileServer->isVisible());
    EXPECT_EQ(dialog.txtNDSTree->text(), "ACME");
    EXPECT_EQ(GridNames(dialog.grdContents), QStringList{"<Empty>"});
    EXPECT_TRUE(dialog.cmdOk->isEnabled()) << "a context is a choice even where nothing is listed";

    dialog.imgBack->click();
    EXPECT_EQ(dialog.txtCurrentContext->text(), "ORG");
    EXPECT_EQ(GridNames(dialog.grdContents), (QStringList{"ENG", "SALES"}));
    SavePicture(&dialog, "frmBrowse-context");
    ChooseRow(dialog.grdContents, "SALES");
    Press(dialog.grdContents, Qt::Key_Return);
    EXPECT_EQ(dialog.txtCurrentContext->text(), "SALES.ORG");

    // Up on the first row goes up a level, to the root, where there is no further up.
    dialog.grdContents->setCurrentCell(0, 1);
    Press(dialog.grdContents, Qt::Key_Up);
    EXPECT_EQ(dialog.txtCurrentContext->text(), "ORG");
    dialog.imgBack->click();
    EXPECT_EQ(dialog.txtCurrentContext->text(), "[Root]");
    EXPECT_FALSE(dialog.imgBack->isEnabled());
    EXPECT_EQ(GridNames(dialog.grdContents), QStringList{"ORG"});

    // OK gives the context, not the container row that is selected.
    ChooseRow(dialog.grdContents, "ORG");
    dialog.cmdOk->click();
    EXPECT_EQ(BrowseAccepted, -1);
    EXPECT_EQ(BrowseChoice, "[Root]");
    EXPECT_EQ(Boxes(), QStringList());
}

TEST_F(BrowseDialogTest, AVolumeComesWithItsContextExceptAtTheRoot) {
    Prepare("VOLUME", "ORG");
    {
        frmBrowse dialog(nullptr);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), "Browse for Volume");
        EXPECT_EQ(GridNames(dialog.grdContents), (QStringList{"SYS", "ENG", "SALES"}));
        SavePicture(&dialog, "frmBrowse-volume");
        ChooseRow(dialog.grdContents, "ENG");
        EXPECT_FALSE(dialog.cmdOk->isEnabled()) << "a container is no volume";
        ChooseRow(dialog.grdContents, "SYS");
        EXPECT_TRUE(dialog.cmdOk->isEnabled());
        dialog.cmdOk->click();
        EXPECT_EQ(BrowseChoice, "SYS.ORG");
    }
    Prepare("VOLUME", "[Root]");
    frmBrowse dialog(nullptr);
    ChooseRow(dialog.grdContents, "VOL1");
    dialog.cmdOk->click();
    EXPECT_EQ(BrowseChoice, "VOL1");
}

TEST_F(BrowseDialogTest, APrintServerComesWithItsContextAndALeafIsNeverExpanded) {
    Prepare("PRINT SERVER", "ENG.ORG");
    frmBrowse dialog(nullptr);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Browse for Print Server");
    EXPECT_EQ(GridNames(dialog.grdContents), QStringList{"PS1"});
    SavePicture(&dialog, "frmBrowse-printserver");
    ChooseRow(dialog.grdContents, "PS1");
    network.Control("log clear");
    emit dialog.grdContents->cellDoubleClicked(0, 1);
    Press(dialog.grdContents, Qt::Key_Return);
    EXPECT_EQ(dialog.txtCurrentContext->text(), "ENG.ORG");
    EXPECT_EQ(network.Control("log"), "ok 0 calls") << "no browse of PS1.ENG.ORG";
    EXPECT_EQ(GridNames(dialog.grdContents), QStringList{"PS1"});
    dialog.cmdOk->click();
    EXPECT_EQ(BrowseChoice, "PS1");
    EXPECT_EQ(BrowseChoiceContext, "ENG.ORG");
}

TEST_F(BrowseDialogTest, ABinderyFileServerListsItsPrintServersOrSaysItHasNone) {
    Prepare("PRINT SERVER", "ignored", -1);
    {
        frmBrowse dialog(nullptr);
        dialog.show();
        EXPECT_TRUE(dialog.txtFileServer->isVisible());
        EXPECT_EQ(dialog.txtFileServer->text(), "FS1");
        EXPECT_FALSE(dialog.txtCurrentContext->isVisible());
        EXPECT_FALSE(dialog.imgBack->isVisible());
        EXPECT_EQ(GridNames(dialog.grdContents), QStringList{"PS1"});
        SavePicture(&dialog, "frmBrowse-bindery");
        dialog.grdContents->setCurrentCell(0, 1);
        dialog.cmdOk->click();
        EXPECT_EQ(BrowseChoice, "PS1");
        EXPECT_EQ(BrowseChoiceContext, "");
    }
    Prepare("PRINT SERVER", "", -1);
    BrowseFileServer = "FS2";
    frmBrowse dialog(nullptr);
    EXPECT_EQ(GridNames(dialog.grdContents), QStringList{"<Empty>"});
    EXPECT_FALSE(dialog.cmdOk->isEnabled()) << "the mark is no print server";
    EXPECT_EQ(Boxes(), QStringList());
}

TEST_F(BrowseDialogTest, AListThatCannotBeHadIsShownAndLeavesOnlyCancel) {
    struct Case {
        QString mode;
        int16_t bindery;
        std::string tree, fault;
        QString message, row;
    };
    for (const Case& c :
         {Case{"VOLUME", 0, "NOWHERE", "", "Invalid tree name", "<Error in obtaining objects>"},
          Case{"VOLUME", 0, "ACME", "fault list-objects 1 -1", "Unable to browse NDS tree ",
               "<Error in obtaining objects>"},
          Case{"PRINT SERVER", -1, "ACME", "fault ps-scan 1 -1", "Unable to list print servers ",
               "Error obtaining Print Servers"}}) {
        Prepare(c.mode, "ORG", c.bindery);
        BrowseTree = QString::fromStdString(c.tree);
        if (!c.fault.empty()) {
            Seed({c.fault});
        }
        frmBrowse dialog(nullptr);
        dialog.show();
        EXPECT_EQ(Boxes(), QStringList{c.message}) << c.fault;
        EXPECT_EQ(GridNames(dialog.grdContents), QStringList{c.row}) << c.fault;
        EXPECT_FALSE(dialog.cmdOk->isEnabled()) << c.fault;
        if (c.tree == "NOWHERE") {
            SavePicture(&dialog, "frmBrowse-error");
        }
        dialog.cmdCancel->click();
        EXPECT_EQ(BrowseAccepted, 0);
        EXPECT_EQ(BrowseChoice, "");
    }
}

}  // namespace
}  // namespace console
