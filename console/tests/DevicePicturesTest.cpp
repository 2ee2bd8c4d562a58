// The dialogs of one print server, on the demo's network, as the help shows them where they show the
// print server itself: its network interface (a new card's too), its printer's model, the printer's
// status, the protocol statistics and a firmware upgrade, each opened from the main window's menus.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "console/configuration/AddressBoxes.h"
#include "console/configuration/frmConfiguration.h"
#include "console/configuration/tests/AddressTyping.h"
#include "console/core/StringTable.h"
#include "console/properties/FirmwareCommand.h"
#include "console/properties/frmPrStatus.h"
#include "console/properties/frmProperties.h"
#include "console/properties/frmStatistics.h"
#include "console/properties/frmTftp.h"
#include "console/tests/DemoNetworkFixture.h"

namespace consoletest {
namespace {

// A firmware file's transfer and the card's restart on a loaded machine.
constexpr int kUpgradeMs = 120000;

// The texts of the dialog's line boxes (the name and description it shows among them).
QStringList BoxTexts(const QWidget* dialog) {
    QStringList texts;
    for (const QLineEdit* box : dialog->findChildren<QLineEdit*>()) {
        texts << box->text();
    }
    return texts;
}

using DevicePicturesTest = DemoNetworkFixture;

TEST_F(DevicePicturesTest, NetworkInterfaceShowsTheDemoPrintServersOwnSettings) {
    OpenConsole();
    SelectCard("Reception");
    FromMenuOn<console::frmConfiguration>("mnuConfigure", [&](console::frmConfiguration& dialog) {
        EXPECT_EQ(dialog.txtPrintServerName->text(), "Reception");
        EXPECT_EQ(dialog.txtMACAddress->text(), Mac("Reception"));
        EXPECT_EQ(dialog.txtIPAddress->Text(), IpText(Card("Reception").ip));
        EXPECT_TRUE(BoxTexts(&dialog).contains(QString::fromStdString(Card("Reception").location)));
        // The pages that show the print server's own name and addresses.
        const std::pair<int, const char*> pages[] = {{console::frmConfiguration::kGeneral, "General"},
                                                     {console::frmConfiguration::kTcpIp, "TCPIP"},
                                                     {console::frmConfiguration::kAppleTalk, "AppleTalk"}};
        for (const auto& [page, picture] : pages) {
            dialog.Tabs()->setCurrentIndex(page);
            HelpPicture(&dialog, QString("frmConfiguration-") + picture);
        }
        dialog.pbuCancel->click();
    });
    EXPECT_TRUE(boxes_.Shown().empty()) << boxes_.Shown().front().text.toStdString();
}

// The demo's card fresh from its box opens into the form of a new print server.
TEST_F(DevicePicturesTest, NetworkInterfaceOfTheNewDemoCardOffersItsFirstAddress) {
    OpenConsole();
    SelectCard("Newbie");
    FromMenuOn<console::frmConfiguration>("mnuConfigure", [&](console::frmConfiguration& dialog) {
        EXPECT_EQ(dialog.txtMACAddress->text(), Mac("Newbie"));
        EXPECT_TRUE(dialog.Tabs()->isTabEnabled(console::frmConfiguration::kTcpIp));
        EXPECT_FALSE(dialog.Tabs()->isTabEnabled(console::frmConfiguration::kNetWare));
        HelpPicture(&dialog, "frmConfiguration-NewCard");
        dialog.pbuCancel->click();
    });
}

// Given Lobby's address, the demo's new card is refused with the address named and Lobby keeps it;
// a free address then reaches the card.
TEST_F(DevicePicturesTest, TheNewDemoCardIsRefusedLobbysAddressAndTakesAFreeOne) {
    OpenConsole();
    SelectCard("Newbie");
    const std::string lobby = IpText(Card("Lobby").ip).toStdString();
    QString refusal;
    FromMenuOn<console::frmConfiguration>("mnuConfigure", [&](console::frmConfiguration& dialog) {
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        Retype(dialog.txtPrintServerName, "Newbie");
        dialog.Tabs()->setCurrentIndex(console::frmConfiguration::kTcpIp);
        TypeAddress(dialog.txtIPAddress, QString::fromStdString(lobby));
        console::SetMessageHook({});
        OnDialog<QMessageBox>([&](QMessageBox& box) {
            refusal = box.text();
            HelpPicture(&box, "frmConfiguration-address-in-use");
            box.accept();
        });
        QTest::keyClick(dialog.txtIPAddress->Box(3), Qt::Key_Return);
        boxes_.Install();
        TypeAddress(dialog.txtIPAddress, "127.0.3.1");
        QTest::keyClick(dialog.txtIPAddress->Box(3), Qt::Key_Return);
        if (dialog.isVisible()) {
            dialog.pbuCancel->click();
        }
    });
    EXPECT_EQ(refusal.toStdString(),
              console::LoadString(20045).arg(QString::fromStdString(lobby)).toStdString());
    EXPECT_TRUE(boxes_.Shown().empty()) << boxes_.Shown().front().text.toStdString();
    EXPECT_EQ(cards_.Command("get Lobby 1.3.6.1.4.1.32473.11.5.1.12.2.5.0"), "ok IP " + lobby);
    EXPECT_EQ(cards_.Command("get Lobby 1.3.6.1.2.1.1.5.0"), "ok STRING \"Lobby\"");
    EXPECT_EQ(cards_.Command("get " + Mac("Newbie").toStdString() + " 1.3.6.1.4.1.32473.11.5.1.12.2.5.0"),
              "ok IP 127.0.3.1");
}

TEST_F(DevicePicturesTest, FrontPanelShowsTheDemoPrintersModel) {
    OpenConsole();
    SelectCard("Reception");
    FromMenuOn<console::frmProperties>("mnuProperties", [&](console::frmProperties& dialog) {
        EXPECT_TRUE(dialog.ReadOk());
        EXPECT_TRUE(BoxTexts(&dialog).contains("Reception")) << "the printer's name on Model Details";
        EXPECT_EQ(dialog.ModelBox()->text(), "6060") << "the office engine's model";
        dialog.Tabs()->setCurrentIndex(0);
        HelpPicture(&dialog, "frmProperties-type1-tab0");
        dialog.reject();
    });
    EXPECT_TRUE(boxes_.Shown().empty()) << boxes_.Shown().front().text.toStdString();
}

TEST_F(DevicePicturesTest, PrinterStatusAndStatisticsReadTheDemoPrintServer) {
    OpenConsole();
    SelectCard("Accounts");
    FromMenuOn<console::frmPrStatus>("mnuPrStatus", [&](console::frmPrStatus& dialog) {
        EXPECT_EQ(dialog.NameBox()->text(), "Accounts");
        EXPECT_EQ(dialog.DescriptionBox()->text(), QString::fromStdString(Card("Accounts").location));
        EXPECT_EQ(dialog.StatusBox()->text(), "PRINTING");
        HelpPicture(&dialog, "frmPrStatus");
        dialog.reject();
    });

    // Every group of the TCP/IP and SNMP trees opened, as a click on each opens it.
    SelectCard("Reception");
    FromMenuOn<console::frmStatistics>("mnuProtocolS", [&](console::frmStatistics& dialog) {
        EXPECT_TRUE(BoxTexts(&dialog).contains("Reception"));
        for (const console::StatisticsTree tree : {console::kTcpTree, console::kSnmpTree}) {
            dialog.Tabs()->setCurrentIndex(tree);
            QTreeWidget* groups = dialog.Tree(tree);
            for (int group = 0; group < groups->topLevelItemCount(); ++group) {
                dialog.ClickItem(tree, groups->topLevelItem(group));
                EXPECT_GT(groups->topLevelItem(group)->childCount(), 0) << tree << " " << group;
            }
            groups->scrollToTop();
            HelpPicture(&dialog, QString("frmStatistics-%1").arg(tree));
        }
        const QTreeWidgetItem* interfaces = dialog.Tree(console::kTcpTree)->topLevelItem(0);
        EXPECT_EQ(interfaces->child(0)->text(0), "Physical address --:" + Mac("Reception"));
        dialog.reject();
    });
    EXPECT_TRUE(boxes_.Shown().empty()) << boxes_.Shown().front().text.toStdString();
}

// The demo print server chosen in the list fetches a new firmware and comes back with it; the
// dialog is pictured at its list and at the first progress it reports.
TEST_F(DevicePicturesTest, FirmwareUpgradeOfADemoPrintServer) {
    console::SetFirmwareProgramFolder(FENDREL_FOLDER);
    const QString path = data_.filePath("office-2.20.bin");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QByteArray bytes = "VERSION V2.20 12/01/2026\n";
        bytes.resize(2 * 1024 * 1024, 'F');
        file.write(bytes);
    }
    OpenConsole();
    SelectCard("Reception");
    bool progressPictured = false;
    bool completed = false;
    FromMenuOn<console::frmTftp>("mnuFlash", [&](console::frmTftp& dialog) {
        QTreeWidget* list = dialog.PrinterList();
        QStringList names;
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            names << list->topLevelItem(row)->text(1);
        }
        EXPECT_TRUE(names.contains("Reception")) << names.join(", ").toStdString();
        EXPECT_TRUE(names.contains("Lobby")) << names.join(", ").toStdString();
        dialog.FileNameBox()->setText(path);
        HelpPicture(&dialog, "frmTftp-list");
        QObject::connect(&dialog, &console::frmTftp::StatusShown, [&](const QString& text) {
            const int done = dialog.Progress()->value();
            if (!progressPictured && text.startsWith(console::LoadString(7031)) && done > 0 && done < 100) {
                progressPictured = true;
                HelpPicture(&dialog, "frmTftp-progress");
            }
        });
        dialog.StartButton()->click();
        completed = QTest::qWaitFor([&] { return dialog.StatusLine()->text() == console::LoadString(7032); },
                                    kUpgradeMs);
        dialog.StartButton()->click();  // "OK" closes the dialog
    });
    EXPECT_TRUE(completed);
    EXPECT_TRUE(progressPictured) << "the dialog showed the upgrade's progress";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return cards_.Command("firmware Reception").rfind("ok done size 2097152", 0) == 0; },
        kUpgradeMs))
        << cards_.Command("firmware Reception");
}

}  // namespace
}  // namespace consoletest
