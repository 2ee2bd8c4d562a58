// The help as a person reaches it in the running console: Help Contents from the menu, Search for
// Help from the tool bar, and F1 in the window in focus, modal dialogs included.
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QWindow>

#include "console/configuration/frmConfiguration.h"
#include "console/core/PrinterList.h"
#include "console/core/dialogs/frmNotify.h"
#include "console/core/dialogs/frmPreference.h"
#include "console/help/HelpBook.h"
#include "console/help/HelpWindow.h"
#include "console/tests/CommandsFixture.h"
#include "portmonitor/tests/HelpTour.h"

namespace consoletest {
namespace {

using console::HelpWindow;
using console::InstalledHelp;

constexpr const char* kCard = "card Office mac=00005E431001 ip=127.0.31.1\n";

class HelpWindowTest : public CommandsFixture {
  protected:
    void SetUp() override {
        CommandsFixture::SetUp();
        ASSERT_FALSE(InstalledHelp().IsEmpty())
            << "no help pages in " << InstalledHelp().Folder().toStdString();
        ASSERT_NO_FATAL_FAILURE(StartCards(kCard));
        OpenConsole();
    }

    // The help window, when one is shown.
    static HelpWindow* Help() {
        for (QWidget* window : QApplication::allWidgets()) {
            if (auto* help = qobject_cast<HelpWindow*>(window); help != nullptr && help->isVisible()) {
                return help;
            }
        }
        return nullptr;
    }
    static QString PageShown(const HelpWindow* help) {
        return help == nullptr ? QString("no help window")
                               : QFileInfo(help->Browser()->source().toLocalFile()).fileName();
    }
    static QString PageOfTopic(const QString& topic) {
        const int page = InstalledHelp().PageOfTopic(topic);
        return page < 0 ? "no page for " + topic
                        : InstalledHelp().Pages()[static_cast<std::size_t>(page)].file;
    }
    // A key as the window system gives it to the window: through the short-cuts, and dropped when a
    // modal dialog blocks the window.
    static void Press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window->windowHandle(), key, modifiers);
    }
    // The window made the active one, as a click on it does.
    static void Activate(QWidget* window) {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }))
            << window->objectName().toStdString() << " did not become the active window";
    }
    static void Type(QWidget* window, const QString& text) {
        for (const QChar character : text) {
            QTest::keyClick(window->windowHandle(), character.toLatin1());
        }
    }
    // A new search, as a person starts one: a click in the box, all of its text chosen, the words typed.
    static void Search(HelpWindow* help, const QString& words) {
        QTest::mouseClick(help->SearchBox(), Qt::LeftButton);
        QTest::keyClick(help->windowHandle(), Qt::Key_A, Qt::ControlModifier);
        Type(help, words);
    }
    static QStringList Results(const HelpWindow* help) {
        QStringList titles;
        for (int row = 0; row < help->Results()->count(); ++row) {
            titles << help->Results()->item(row)->text();
        }
        return titles;
    }
    static QString TitleOf(const QString& file) {
        return InstalledHelp().Pages()[static_cast<std::size_t>(InstalledHelp().PageOfFile(file))].title;
    }
};

TEST_F(HelpWindowTest, ContentsFromTheMenuListsEveryPageAndFollowsLinksAndBack) {
    FromMenu("mnuHelp1");
    HelpWindow* help = Help();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(PageShown(help), InstalledHelp().Pages().front().file);
    int listed = 0;
    for (QTreeWidgetItemIterator item(help->Contents()); *item != nullptr; ++item) {
        ++listed;
    }
    EXPECT_EQ(listed, static_cast<int>(InstalledHelp().Pages().size()));
    SavePicture(help, "HelpWindow");

    // A click in the contents opens that page; the first link of a page, reached with Tab and
    // followed with Enter, opens its page; Back returns.
    QTreeWidgetItem* preferences =
        help->Contents()
            ->findItems(TitleOf(PageOfTopic("frmPreference")), Qt::MatchExactly | Qt::MatchRecursive)
            .value(0);
    ASSERT_NE(preferences, nullptr);
    QTest::mouseClick(help->Contents()->viewport(), Qt::LeftButton, {},
                      help->Contents()->visualItemRect(preferences).center());
    EXPECT_EQ(PageShown(help), PageOfTopic("frmPreference"));
    help->Browser()->setFocus();
    Press(help, Qt::Key_Tab);
    const QString link = help->Browser()->textCursor().charFormat().anchorHref();
    ASSERT_FALSE(link.isEmpty());
    Press(help, Qt::Key_Return);
    EXPECT_EQ(PageShown(help), link.section('#', 0, 0));
    EXPECT_EQ(help->Contents()->currentItem()->text(0), TitleOf(link.section('#', 0, 0)));
    help->findChild<QPushButton*>("pbuBack")->click();
    EXPECT_EQ(PageShown(help), PageOfTopic("frmPreference"));
    EXPECT_TRUE(help->findChild<QPushButton*>("pbuForward")->isEnabled());
}

TEST_F(HelpWindowTest, F1OpensThePageOfTheWindowInFocus) {
    // The main window, and the help window itself.
    Press(console_.get(), Qt::Key_F1);
    EXPECT_EQ(PageShown(Help()), PageOfTopic("NewLook"));
    ASSERT_NE(Help(), nullptr);
    Press(Help(), Qt::Key_F1);
    EXPECT_EQ(PageShown(Help()), PageOfTopic("HelpWindow"));

    // Modal dialogs: the page of the dialog, in a help window that the dialog does not block (typing
    // into its search reaches it).
    int answered = 0;
    const auto look = [&](QWidget& dialog, const char* topic) {
        Press(&dialog, Qt::Key_F1);
        HelpWindow* help = Help();
        EXPECT_EQ(PageShown(help), PageOfTopic(topic)) << topic;
        if (help != nullptr) {
            Search(help, "port");
            EXPECT_EQ(help->SearchBox()->text(), "port") << topic;
        }
        ++answered;
    };
    OnDialog<console::frmPreference>([&](console::frmPreference& dialog) {
        look(dialog, "frmPreference");
        static_cast<QDialog&>(dialog).reject();
    });
    FromMenu("mnuPreference");
    OnDialog<console::frmNotify>([&](console::frmNotify& dialog) {
        look(dialog, "frmNotify");
        dialog.reject();
    });
    FromMenu("mnuNotify");

    // A dialog with tabs: the page of the tab in front, chosen with a click on the tab.
    Select("00005E431001");
    OnDialog<console::frmConfiguration>([&](console::frmConfiguration& dialog) {
        look(dialog, "frmConfiguration/General");
        QTabBar* tabs = dialog.Tabs()->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        EXPECT_EQ(dialog.Tabs()->currentIndex(), 1);
        look(dialog, "frmConfiguration/TCP/IP");
        dialog.reject();
    });
    FromMenu("mnuConfigure");
    EXPECT_EQ(answered, 4);
}

// Opened from a dialog, the help stays when the dialog closes, until the user closes it: with its
// close button, Esc or Ctrl+W, as from any other window.
TEST_F(HelpWindowTest, TheHelpOfADialogOutlivesItUntilClosedWithEscOrCtrlW) {
    struct Close {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* name;
    };
    for (const Close& close :
         {Close{Qt::Key_Escape, {}, "Esc"}, Close{Qt::Key_W, Qt::ControlModifier, "Ctrl+W"}}) {
        OnDialog<console::frmPreference>([](console::frmPreference& dialog) {
            Press(&dialog, Qt::Key_F1);
            EXPECT_NE(Help(), nullptr);
            // Back in the dialog, Esc closes the dialog alone.
            Activate(&dialog);
            Press(&dialog, Qt::Key_Escape);
            if (dialog.isVisible()) {
                ADD_FAILURE() << "Esc left the dialog open";
                static_cast<QDialog&>(dialog).reject();
            }
        });
        FromMenu("mnuPreference");
        ASSERT_EQ(QApplication::activeModalWidget(), nullptr) << "the dialog closed";
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        HelpWindow* help = Help();
        ASSERT_NE(help, nullptr) << "the help went with its dialog, " << close.name;
        // Where no window manager places it (the offscreen platform has none), it opens centred.
        const QPoint off = help->frameGeometry().center() - help->screen()->availableGeometry().center();
        EXPECT_LE(off.manhattanLength(), 4) << "the help opened off centre by " << off.x() << "," << off.y();
        EXPECT_EQ(PageShown(help), PageOfTopic("frmPreference")) << close.name;
        SavePicture(help, "HelpWindow-after-dialog");
        // Typing in its search still reaches it, then the key closes it.
        Activate(help);
        Search(help, "port");
        EXPECT_EQ(help->SearchBox()->text(), "port") << close.name;
        Press(help, close.key, close.modifiers);
        EXPECT_EQ(Help(), nullptr) << close.name << " leaves the help open";
    }
}

// Printers > Install Printer > Add Port: the port monitor's port dialog, and the Add New Printer
// dialog it opens, open their pages in the console's one help window with Help and with F1; the help
// stays when the dialogs are cancelled.
TEST_F(HelpWindowTest, ThePortDialogsHelpOpensTheirPages) {
    QStringList met;
    TourPortDialogHelp("console-", [&met](const QStringList& lines) { met = lines; });
    Activate(console_.get());
    FromMenu("mnuCreatePort");
    EXPECT_EQ(met.join("\n").toStdString(),
              "PortDialog Help: PortDialog.html\nPortDialog F1: PortDialog.html\n"
              "AddPrinterDialog Help: AddPrinterDialog.html\nAddPrinterDialog F1: AddPrinterDialog.html");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(PageShown(Help()), PageOfTopic("AddPrinterDialog")) << "the help went with the dialogs";
}

TEST_F(HelpWindowTest, SearchFromTheToolBarFindsADialogByAWordOfItsPage) {
    FromToolBar("mnuHelp2");
    HelpWindow* help = Help();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->focusWidget(), help->SearchBox());
    Type(help, "wildcard");
    const QString filterPage = TitleOf(PageOfTopic("frmAFilter"));
    EXPECT_TRUE(Results(help).contains(filterPage)) << Results(help).join(", ").toStdString();
    EXPECT_FALSE(Results(help).contains(TitleOf(PageOfTopic("frmAboutBox"))));
    // Enter opens the best result; choosing the filter page's result opens it at the word.
    Press(help, Qt::Key_Return);
    EXPECT_EQ(
        PageShown(help),
        InstalledHelp().Pages()[static_cast<std::size_t>(InstalledHelp().Search("wildcard").front())].file);
    const QListWidgetItem* result = help->Results()->findItems(filterPage, Qt::MatchExactly).value(0);
    ASSERT_NE(result, nullptr);
    QTest::mouseClick(help->Results()->viewport(), Qt::LeftButton, {},
                      help->Results()->visualItemRect(result).center());
    EXPECT_EQ(PageShown(help), PageOfTopic("frmAFilter"));
    EXPECT_EQ(help->Browser()->textCursor().selectedText().toLower(), "wildcard");
    SavePicture(help, "HelpWindow-search");

    // Every word must be on the page: a word of the filter page with one of the firmware page finds
    // neither; words found nowhere say so.
    for (const char* words : {"wildcard firmware", "zqxv"}) {
        Search(help, words);
        ASSERT_EQ(help->Results()->count(), 1) << words;
        EXPECT_EQ(help->Results()->item(0)->flags(), Qt::NoItemFlags) << words;
    }
}

}  // namespace
}  // namespace consoletest
