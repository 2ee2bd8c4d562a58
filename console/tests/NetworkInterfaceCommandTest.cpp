// The Network Interface command as a person runs it: from the menu, the tool bar and the Enter key
// on the list; what its OK changes shows in the list at once.
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>

#include "console/configuration/frmConfiguration.h"
#include "console/core/PrinterList.h"
#include "console/tests/CommandsFixture.h"

namespace consoletest {
namespace {

using console::State;

class NetworkInterfaceCommandTest : public CommandsFixture {
  protected:
    // The text of the description column on the card's row, as the list shows it.
    QString ListedDescription(const QString& mac) const {
        QStandardItemModel* model = console_->List()->Model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->item(row, 0)->data(Qt::UserRole + 1).toString() == mac) {
                return model->item(row, console::kDescriptionColumn)->text();
            }
        }
        return "(no row)";
    }
};

TEST_F(NetworkInterfaceCommandTest, OkShowsTheNewTextAtOnceFromMenuToolBarAndKey) {
    StartCards(
        "card Desk mac=00005E470001 ip=127.0.28.1\n"
        "card Hall mac=00005E470002 ip=127.0.28.2\n");
    OpenConsole();
    const QString mac = "00005E470002";
    for (int way = 0; way < 3; ++way) {
        Select(mac);
        const QString description = QString("Floor %1").arg(way + 2);
        bool shown = false;
        OnDialog<console::frmConfiguration>([&](console::frmConfiguration& dialog) {
            shown = true;
            dialog.txtDescription->selectAll();
            QTest::keyClicks(dialog.txtDescription, description);
            dialog.pbuOK->click();
        });
        if (way == 0) {
            FromMenu("mnuConfigure");
        } else if (way == 1) {
            FromToolBar("mnuConfigure");
        } else {
            QTreeView* view = console_->List()->DetailView();
            view->setFocus();
            QTest::keyClick(view, Qt::Key_Return);
        }
        ASSERT_TRUE(shown) << way;
        EXPECT_EQ(ListedDescription(mac).toStdString(), description.toStdString()) << way;
        EXPECT_EQ(console_->List()->SelectedMac(), mac) << "the same print server stays chosen";
        EXPECT_FALSE(State().commandBusy);
    }
    SavePicture(console_.get(), "NewLook-after-network-interface");
}

}  // namespace
}  // namespace consoletest
