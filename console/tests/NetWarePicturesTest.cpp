// The NetWare dialogs as the help shows them, on the demo's network with its NetWare network (the
// bindery file server OFFICE and the tree CAMPUS): from Setting > Network Interface on Lobby, a queue
// is created on the file server and one in the tree, each after a login, and both are then serviced.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>

#include "console/configuration/frmConfiguration.h"
#include "console/configuration/tests/NetWarePageFixture.h"
#include "console/netware/frmAddQueue.h"
#include "console/netware/frmBrowse.h"
#include "console/netware/frmCrQueue.h"
#include "console/netware/frmLogin.h"
#include "console/netware/frmPrintMode.h"
#include "console/tests/DemoNetworkFixture.h"
#include "platform/netware/NetWareClient.h"

namespace consoletest {
namespace {

using console::Pick;
using console::RowNamed;
using console::Type;
using console::WhenModal;

// The names of the grid's rows.
std::string Names(const QTableWidget* grid) {
    QStringList names;
    for (int row = 0; row < grid->rowCount(); ++row) {
        names << console::GridRowName(grid, row);
    }
    return names.join(", ").toStdString();
}

// Goes up from the browse dialog's context to `context` (a few levels at most): OK takes the context
// it lists.
void BrowseUpTo(console::frmBrowse* browse, const QString& context) {
    for (int level = 0; level < 4 && browse->txtCurrentContext->text() != context; ++level) {
        browse->imgBack_Click();
    }
    EXPECT_EQ(browse->txtCurrentContext->text(), context);
}

// Presses the dialog's button; a dialog that stays open (a step refused) is cancelled, so that the
// test goes on to report it.
void PressOrCancel(QDialog* dialog, QPushButton* ok, QPushButton* cancel) {
    ok->click();
    if (dialog->isVisible()) {
        ADD_FAILURE() << dialog->metaObject()->className() << " stayed open";
        cancel->click();
    }
}

// Answers the login as the demo's administrator: on the file server, or in the tree with the context
// HQ picked by browsing for it.
void LogInWhenAsked(bool tree) {
    WhenModal<console::frmLogin>([tree](console::frmLogin* login) {
        Type(login->txtUserName, "ADMIN");
        Type(login->txtPasswd, "demo");
        if (tree) {
            WhenModal<console::frmBrowse>([](console::frmBrowse* browse) {
                BrowseUpTo(browse, "HQ");
                HelpPicture(browse, "frmBrowse-context");
                PressOrCancel(browse, browse->cmdOk, browse->cmdCancel);
            });
            login->cmdBrowse->click();
            EXPECT_EQ(login->txtContext->text(), "HQ");
        }
        PressOrCancel(login, login->cmdOk, login->cmdCancel);
    });
}

// Create Q in the add queue dialog, answered as a person answers it: the name, in a tree the volume
// browsed for, then the print mode (the print server's own unless a NetWare print server is named, which
// is browsed for). The question whether to add the new queue is answered yes.
void CreateQueue(console::frmAddQueue* dialog, const QString& name, const QString& picture,
                 const QString& volume, const QString& printServer) {
    WhenModal<console::frmCrQueue>([=](console::frmCrQueue* create) {
        Type(create->txtQueueName, name);
        if (!volume.isEmpty()) {
            WhenModal<console::frmBrowse>([volume](console::frmBrowse* browse) {
                Pick(browse->grdContents, volume);
                HelpPicture(browse, "frmBrowse-volume");
                PressOrCancel(browse, browse->cmdOk, browse->cmdCancel);
            });
            create->cmdBrowse->click();
        }
        HelpPicture(create, picture);
        WhenModal<console::frmPrintMode>([printServer](console::frmPrintMode* mode) {
            if (!printServer.isEmpty()) {
                mode->optModeRP->click();
                WhenModal<console::frmBrowse>([printServer](console::frmBrowse* browse) {
                    Pick(browse->grdContents, printServer);
                    PressOrCancel(browse, browse->cmdOk, browse->cmdCancel);
                });
                mode->cmdBrowse->click();
                HelpPicture(mode, "frmPrintMode");
            }
            PressOrCancel(mode, mode->cmdOk, mode->cmdCancel);
        });
        PressOrCancel(create, create->cmdOk, create->cmdCancel);
    });
    dialog->cmdCreateQueue->click();
    if (dialog->isVisible()) {
        ADD_FAILURE() << "the add queue dialog stayed open after Create Q";
        dialog->cmdCancel->click();
    }
}

class NetWarePicturesTest : public DemoNetworkFixture {
  protected:
    // The NetWare client lives as long as the process: its connections go with the test's network.
    void TearDown() override {
        plat::NwConnection connection = 0;
        while (plat::NwConnectionByName("OFFICE", connection) == plat::kNwSuccess) {
            plat::NwCloseConnection(connection);
        }
        DemoNetworkFixture::TearDown();
    }
    std::string Show(const std::string& host) { return cards_.Listing("netware show " + host); }
};

TEST_F(NetWarePicturesTest, AQueueOnTheFileServerAndOneInTheTreeAreServicedByLobby) {
    OpenConsole();
    SelectCard("Lobby");
    FromMenuOn<console::frmConfiguration>("mnuConfigure", [&](console::frmConfiguration& page) {
        page.Tabs()->setCurrentIndex(console::frmConfiguration::kNetWare);
        ASSERT_TRUE(page.chkNetware->isChecked());

        WhenModal<console::frmAddQueue>([](console::frmAddQueue* dialog) {
            EXPECT_EQ(dialog->cmbFileServers->currentText(), "OFFICE");
            LogInWhenAsked(false);
            dialog->optFileServers->click();
            EXPECT_GE(RowNamed(dialog->grdItems, "FRONT_DESK"), 0) << Names(dialog->grdItems);
            EXPECT_GE(RowNamed(dialog->grdItems, "INVOICES"), 0) << Names(dialog->grdItems);
            HelpPicture(dialog, "frmAddQueue-bindery");
            CreateQueue(dialog, "MAILROOM", "frmCrQueue-bindery", {}, {});
        });
        page.cmdAdd->click();

        WhenModal<console::frmAddQueue>([](console::frmAddQueue* dialog) {
            EXPECT_EQ(dialog->cmbNdsTrees->currentText(), "CAMPUS");
            dialog->optNdsTrees->click();
            EXPECT_EQ(dialog->txtCurrentContext->text(), "ENG.HQ");
            EXPECT_GE(RowNamed(dialog->grdItems, "DRAWINGS"), 0) << Names(dialog->grdItems);
            EXPECT_GE(RowNamed(dialog->grdItems, "PROOFS"), 0) << Names(dialog->grdItems);
            HelpPicture(dialog, "frmAddQueue-directory");
            LogInWhenAsked(true);
            dialog->cmdLogin->click();
            CreateQueue(dialog, "PLANS", "frmCrQueue-directory", "DATA", "ENG_PS");
        });
        page.cmdAdd->click();

        QTableWidget* queues = page.grdQueues;
        ASSERT_EQ(queues->rowCount(), 2);
        const auto row = [queues](int row) {
            QStringList cells;
            for (int column = 1; column <= 4; ++column) {
                cells << (queues->item(row, column) != nullptr ? queues->item(row, column)->text()
                                                               : QString());
            }
            return cells.join(" ").toStdString();
        };
        EXPECT_EQ(row(0), "MAILROOM OFFICE PSERVER -");
        EXPECT_EQ(row(1), "PLANS.ENG.HQ CAMPUS RPRINTER ENG_PS.ENG.HQ");
        HelpPicture(&page, "frmConfiguration-Netware-queues");
        page.pbuCancel->click();
    });
    EXPECT_NE(Show("OFFICE").find("queue MAILROOM volume=SYS\n"), std::string::npos) << Show("OFFICE");
    EXPECT_NE(Show("CAMPUS").find("queue PLANS.ENG.HQ volume=DATA.ENG.HQ\n"), std::string::npos)
        << Show("CAMPUS");
}

}  // namespace
}  // namespace consoletest
