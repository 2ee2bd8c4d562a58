#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

#include "console/configuration/tests/ConfigurationFixture.h"
#include "console/netware/NetWareGlobals.h"
#include "console/netware/NetWareLibraries.h"
#include "console/netware/frmNwError.h"
#include "console/tests/MessageRecorder.h"
#include "netware/tests/NetWareFixture.h"

namespace console {

// The NetWare dialogs on the simulated NetWare network of NetWareFixture (FS1 in tree ACME with user
// ADMIN, FS2 bindery only with user GUEST; ACME: ORG (ENG, SALES), TOPQ; ORG: ADMIN, SYS; ENG.ORG:
// Q1..Q5, PS1), with a volume VOL1 at the root, the globals cleared and every message box recorded.
class NetWareDialogsFixture : public NetWareFixture {
  protected:
    void SetUp() override {
        NetWareFixture::SetUp();
        Seed({"object ACME volume VOL1"});
        WireNetWareErrorDialog();
        QueueModeTable.clear();
        NwErrorDialogFlag = 0;
    }

    void LogInToFileServer(const char* name, const char* user, const char* password) {
        QByteArray server(name), userText(user), passwordText(password);
        ASSERT_EQ(tessik::NwBiLogin(server.data(), userText.data(), passwordText.data()), kNwOk);
    }
    void LogInToAcme() {
        char tree[] = "ACME";
        ASSERT_EQ(tessik::NwNdsLogin(tree, "ADMIN", "ORG", "secret"), kNwOk);
    }

    // The texts of the boxes shown so far, then forgets them.
    QStringList Boxes() {
        QStringList texts;
        for (const MessageShown& shown : boxes_.Shown()) {
            texts << shown.text;
        }
        boxes_.Clear();
        return texts;
    }

    static QStringList GridNames(const QTableWidget* grid) {
        QStringList names;
        for (int row = 0; row < grid->rowCount(); ++row) {
            names << grid->item(row, 1)->text();
        }
        return names;
    }
    static void ChooseRow(QTableWidget* grid, const QString& name) {
        const QList<QTableWidgetItem*> found = grid->findItems(name, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << name.toStdString();
        grid->setCurrentCell(found.front()->row(), 1);
    }

    consoletest::MessageRecorder boxes_;
};

}  // namespace console
