// Every NetWare dialog opens 250 twips right of and 425 twips below the dialog that opens it.
#include "console/netware/frmBrowse.h"
#include "console/netware/frmCrQueue.h"
#include "console/netware/frmLogin.h"
#include "console/netware/frmNwError.h"
#include "console/netware/frmPrintMode.h"
#include "console/netware/tests/NetWareDialogsFixture.h"

namespace console {
namespace {

class PlacementTest : public NetWareDialogsFixture {};

template <typename Dialog>
QPoint OpenedAt(QWidget* owner) {
    Dialog dialog(owner);
    return dialog.pos();
}

TEST_F(PlacementTest, EachDialogOpensBelowAndRightOfItsOwner) {
    BrowseMode = "CONTEXT";
    BrowseTree = "ACME";
    BrowseContext = "ORG";
    QWidget owner;
    owner.setGeometry(120, 80, 400, 300);
    owner.show();
    const QPoint expected = owner.frameGeometry().topLeft() + QPoint(17, 28);
    EXPECT_EQ(OpenedAt<frmLogin>(&owner), expected);
    EXPECT_EQ(OpenedAt<frmCrQueue>(&owner), expected);
    EXPECT_EQ(OpenedAt<frmPrintMode>(&owner), expected);
    EXPECT_EQ(OpenedAt<frmBrowse>(&owner), expected);
    EXPECT_EQ(OpenedAt<frmNwError>(&owner), expected);
}

}  // namespace
}  // namespace console
