// The commands that shape the printer list: the two filters, columns and sort, and the preferences.
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTreeView>
#include <QTreeWidget>

#include "console/core/ConsoleState.h"
#include "console/core/Pictures.h"
#include "console/core/PrinterList.h"
#include "console/core/PrinterStatus.h"
#include "console/core/dialogs/frmAFilter.h"
#include "console/core/dialogs/frmConfigureCols.h"
#include "console/core/dialogs/frmFilter.h"
#include "console/core/dialogs/frmPreference.h"
#include "console/core/dialogs/frmSortCols.h"
#include "console/tests/CommandsFixture.h"

namespace consoletest {
namespace {

using console::State;

const char* const kFourCards =
    "card Alpha mac=00005E400001 ip=127.0.20.1 status=0\n"
    "card Twin mac=00005E400002 ip=127.0.20.2 status=68\n"
    "card Twin2 mac=00005E400003 ip=127.0.21.3 status=3\n"
    "card beta mac=00005E400004 ip=127.0.21.4 status=68 protocols=ip\n";

class ListCommandsTest : public CommandsFixture {
  protected:
    QStringList Macs() const {
        QStringList macs;
        for (int row = 0; row < Model()->rowCount(); ++row) {
            macs << Model()->item(row, 0)->data(Qt::UserRole + 1).toString();
        }
        return macs;
    }
    QStringList SortedMacs() const {
        QStringList macs = Macs();
        macs.sort();
        return macs;
    }
    QString FilterPanel() const { return console_->StatusPanel(2)->text(); }

    // The advanced filter with a rule and the text typed into it, then OK.
    void AdvancedFilter(int rule, const QString& typed) {
        OnDialog<console::frmAFilter>([rule, typed](console::frmAFilter& dialog) {
            dialog.Rules()->setCurrentRow(rule);
            QTest::keyClicks(dialog.Pattern(), typed);
            dialog.pbuOk_Click();
        });
        FromMenu("mnuFilter3");
    }
};

TEST_F(ListCommandsTest, FiltersChooseByHardwareAddressPatternAndStatusAndChangeOnlyOnOk) {
    StartCards(kFourCards);
    Rename("Twin2", "Twin");
    OpenConsole();
    ASSERT_EQ(Model()->rowCount(), 4);
    EXPECT_EQ(FilterPanel(), "Filters : Off");

    // Printer Filter: one of the two print servers named Twin is chosen, by its hardware address.
    OnDialog<console::frmFilter>([](console::frmFilter& dialog) {
        EXPECT_EQ(dialog.Available()->count(), 4);
        EXPECT_FALSE(dialog.findChild<QPushButton*>("pbuRemove")->isEnabled());
        dialog.Available()->item(2)->setSelected(true);
        dialog.Available()->item(0)->setSelected(true);
        dialog.pbuAdd_Click();
        EXPECT_EQ(dialog.Filtered()->count(), 2);
        SavePicture(&dialog, "frmFilter");
        dialog.pbuOk_Click();
    });
    FromMenu("mnuFilter2");
    EXPECT_EQ(SortedMacs(), (QStringList{"00005E400001", "00005E400003"}));
    EXPECT_EQ(FilterPanel(), "Filters : On");
    // Reopened, the two chosen come back; Cancel after moving changes nothing.
    OnDialog<console::frmFilter>([](console::frmFilter& dialog) {
        EXPECT_EQ(dialog.Filtered()->count(), 2);
        EXPECT_EQ(dialog.Filtered()->item(1)->toolTip(), "00005E400003");
        dialog.Filtered()->item(0)->setSelected(true);
        dialog.pbuRemove_Click();
        dialog.reject();
    });
    FromMenu("mnuFilter2");
    EXPECT_EQ(Macs().size(), 2);
    // Nothing chosen: asked first; Cancel to the question keeps the dialog and the filter.
    boxes_.Answer(console::kCancel);
    OnDialog<console::frmFilter>([](console::frmFilter& dialog) {
        dialog.Filtered()->selectAll();
        dialog.pbuRemove_Click();
        dialog.pbuOk_Click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.reject();
    });
    FromMenu("mnuFilter2");
    EXPECT_EQ(Macs().size(), 2);
    EXPECT_EQ(boxes_.Shown().back().text, "No devices will be displayed.");
    boxes_.Answer(console::kOk);

    // Advanced Filter: a name pattern, an address pattern, a status.
    AdvancedFilter(console::frmAFilter::kNameRule, "T*");
    EXPECT_EQ(Column(0), (QStringList{"Twin", "Twin"}));
    AdvancedFilter(console::frmAFilter::kIpRule, "127.0.2x1.*");  // the letter is refused as typed
    EXPECT_EQ(State().options.filterText, "127.0.21.*");
    EXPECT_EQ(SortedMacs(), (QStringList{"00005E400003", "00005E400004"}));
    OnDialog<console::frmAFilter>([](console::frmAFilter& dialog) {
        EXPECT_EQ(dialog.Rules()->currentRow(), console::frmAFilter::kIpRule);
        EXPECT_EQ(dialog.Pattern()->text(), "127.0.21.*");
        dialog.Rules()->setCurrentRow(console::frmAFilter::kStatusRule);
        dialog.Status()->setCurrentIndex(dialog.Status()->findText("COVER OPEN"));
        SavePicture(&dialog, "frmAFilter");
        dialog.pbuOk_Click();
    });
    FromMenu("mnuFilter3");
    EXPECT_EQ(SortedMacs(), (QStringList{"00005E400002", "00005E400004"}));
    // The status filter opens on its own status; a malformed bracket is never stored.
    OnDialog<console::frmAFilter>([](console::frmAFilter& dialog) {
        EXPECT_EQ(dialog.Status()->currentText(), "COVER OPEN");
        dialog.Rules()->setCurrentRow(console::frmAFilter::kNameRule);
        QTest::keyClicks(dialog.Pattern(), "Tw[]");
        EXPECT_EQ(dialog.Pattern()->text(), "Tw[") << "a bracket that lists nothing is refused";
        dialog.pbuOk_Click();
        EXPECT_TRUE(dialog.isVisible()) << "an open bracket is not taken";
        dialog.reject();
    });
    FromMenu("mnuFilter3");
    EXPECT_EQ(State().options.filterKind, 5);
    AdvancedFilter(console::frmAFilter::kHardwareRule, "*");
    EXPECT_EQ(State().options.filterKind, 0) << "the pattern * is no filter";
    EXPECT_EQ(FilterPanel(), "Filters : Off");
    EXPECT_EQ(Model()->rowCount(), 4);
}

TEST_F(ListCommandsTest, ColumnsAndEverySortOrderSurviveARestart) {
    StartCards(kFourCards);
    OpenConsole();
    // The name column stays; port and printer columns are off outside the installed printers group.
    OnDialog<console::frmConfigureCols>([](console::frmConfigureCols& dialog) {
        EXPECT_FALSE(dialog.Heading(console::kNameColumn)->isEnabled());
        EXPECT_FALSE(dialog.Heading(console::kPortColumn)->isEnabled());
        dialog.Heading(console::kDescriptionColumn)->setChecked(false);
        dialog.Heading(console::kIpxColumn)->setChecked(true);
        SavePicture(&dialog, "frmConfigureCols");
        dialog.accept();
    });
    FromMenu("mnuColumns");
    const QStringList titles = {"Printer Name", "Printer Status", "IP Address", "IPX Address",
                                "Hardware Address"};
    ASSERT_EQ(Model()->columnCount(), titles.size());
    for (int section = 0; section < titles.size(); ++section) {
        EXPECT_EQ(Model()->headerData(section, Qt::Horizontal).toString(), titles[section]);
    }
    OnDialog<console::frmConfigureCols>([](console::frmConfigureCols& dialog) {
        dialog.Heading(console::kIpColumn)->setChecked(false);
        dialog.reject();
    });
    FromMenu("mnuColumns");
    EXPECT_EQ(Model()->columnCount(), titles.size()) << "Cancel changes nothing";

    // Every visible column, both orders: the list follows the texts of the column the dialog names.
    for (int section = 0; section < titles.size(); ++section) {
        for (const bool descending : {false, true}) {
            OnDialog<console::frmSortCols>([&](console::frmSortCols& dialog) {
                const auto column = static_cast<std::size_t>(
                    std::find(State().columnTitles.begin(), State().columnTitles.end(), titles[section]) -
                    State().columnTitles.begin());
                EXPECT_FALSE(dialog.Column(console::kDescriptionColumn)->isEnabled());
                dialog.Column(column)->setChecked(true);
                (descending ? dialog.Descending() : dialog.Ascending())->setChecked(true);
                if (section == 0 && !descending) {
                    SavePicture(&dialog, "frmSortCols");
                }
                dialog.pbuOK_Click();
            });
            FromMenu("mnuSort");
            QStringList expected = Column(section);
            std::sort(expected.begin(), expected.end(), [&](const QString& a, const QString& b) {
                const int order = a.toUpper().compare(b.toUpper());
                return descending ? order > 0 : order < 0;
            });
            EXPECT_EQ(Column(section), expected) << titles[section].toStdString() << " " << descending;
        }
    }
    const QStringList lastOrder = Macs();
    CloseConsole();
    OpenConsole();
    EXPECT_EQ(Model()->columnCount(), titles.size());
    EXPECT_EQ(State().options.sortColumn, 6);
    EXPECT_TRUE(State().options.sortDescending);
    EXPECT_EQ(Macs(), lastOrder);
}

TEST_F(ListCommandsTest, EveryHeaderClickKeepsEachRowWhole) {
    // A sort refills the rows in place: each row's address, texts and icon must all be those of one
    // print server, whichever row it held before.
    StartCards(kFourCards);
    OpenConsole();
    QHeaderView* header = console_->List()->DetailView()->header();
    const auto sectionOf = [&](const QString& title) {
        for (int section = 0; section < Model()->columnCount(); ++section) {
            if (Model()->headerData(section, Qt::Horizontal).toString() == title) {
                return section;
            }
        }
        return -1;
    };
    const int ipSection = sectionOf("IP Address");
    ASSERT_GE(ipSection, 0);
    const QStringList before = Macs();
    for (int section = 0; section < Model()->columnCount(); ++section) {
        for (int click = 0; click < 2; ++click) {  // ascending, then descending
            emit header->sectionClicked(section);
            const QStringList macs = Macs();
            ASSERT_EQ(macs.size(), 4);
            for (int row = 0; row < macs.size(); ++row) {
                const console::PrintServerEntry* entry = console::FindServer(macs[row]);
                ASSERT_NE(entry, nullptr) << macs[row].toStdString();
                EXPECT_EQ(Model()->item(row, 0)->text(), entry->name) << section << " " << click;
                EXPECT_EQ(Model()->item(row, ipSection)->text(), entry->ip) << section << " " << click;
                const QIcon shown = Model()->item(row, 0)->icon();
                const QIcon expected =
                    console::StatusIconPicture(console::StatusIcon(entry->category, entry->status));
                EXPECT_EQ(shown.pixmap(16).toImage(), expected.pixmap(16).toImage())
                    << section << " " << click;
            }
        }
    }
    QStringList sortedBefore = before;
    sortedBefore.sort();
    EXPECT_EQ(SortedMacs(), sortedBefore);
}

// The port and printer columns, offered in the installed printers group, open wide enough for
// their titles.
TEST_F(ListCommandsTest, ColumnsShownAnewOpenWideEnoughForTheirTitles) {
    StartCards("card Ported mac=00005E420101 ip=127.0.33.1\n");
    OpenConsole();
    auto* tree = console_->findChild<QTreeWidget*>("outTreeList");
    tree->setCurrentItem(tree->topLevelItem(2));
    emit tree->itemClicked(tree->topLevelItem(2), 0);
    OnDialog<console::frmConfigureCols>([](console::frmConfigureCols& dialog) {
        for (const std::size_t column : {console::kPortColumn, console::kWindowsPrinterColumn}) {
            EXPECT_TRUE(dialog.Heading(column)->isEnabled());
            dialog.Heading(column)->setChecked(true);
        }
        dialog.accept();
    });
    FromMenu("mnuColumns");
    QHeaderView* header = console_->List()->DetailView()->header();
    int checked = 0;
    for (int section = 0; section < header->count(); ++section) {
        const QString title = Model()->headerData(section, Qt::Horizontal).toString();
        if (title == "Port Name" || title == "Windows Printer Name") {
            ++checked;
            EXPECT_GE(header->sectionSize(section), header->sectionSizeHint(section)) << title.toStdString();
        }
    }
    EXPECT_EQ(checked, 2);
    QScrollBar* across = console_->List()->DetailView()->horizontalScrollBar();
    across->setValue(across->maximum());
    SavePicture(console_.get(), "NewLook-port-columns");
}

TEST_F(ListCommandsTest, PreferencesRunTheRefreshAndCancelPutsTheTimerBack) {
    StartCards("card Solo mac=00005E410001 ip=127.0.22.1\n");
    plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kMyProtocolsKey);
    OpenConsole();
    ASSERT_FALSE(console_->RefreshTimer()->isActive());
    OnDialog<console::frmPreference>([](console::frmPreference& dialog) {
        EXPECT_FALSE(dialog.AutoRefresh()->isChecked());
        // Nothing stored yet: the protocols detection uses, all of them.
        EXPECT_TRUE(dialog.AllProtocols()->isChecked());
        EXPECT_FALSE(dialog.Protocol(2)->isEnabled());
        dialog.AutoRefresh()->setChecked(true);
        dialog.RefreshTime()->setValue(1);
        SavePicture(&dialog, "frmPreference");
        dialog.btnOK_Click();
        if (dialog.isVisible()) {
            ADD_FAILURE() << "OK was refused";
            dialog.btnCancel_Click();
        }
    });
    FromMenu("mnuPreference");
    EXPECT_EQ(boxes_.Shown().back().text, "After Refresh the List, It will be effective !");
    EXPECT_TRUE(console_->RefreshTimer()->isActive());
    int refreshes = 0;
    QObject::connect(console_.get(), &console::NewLook::RefreshFinished, [&] { ++refreshes; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return refreshes >= 1; }, 6000)) << "the timer ran a Refresh";
    const auto protocols = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kMyProtocolsKey);
    ASSERT_TRUE(protocols.has_value()) << "made on a fresh store";
    EXPECT_EQ(protocols->ReadNumber("Protocols"), 7u);

    // Cancel: the timer the dialog held runs again; no protocol at all is refused.
    OnDialog<console::frmPreference>([this](console::frmPreference& dialog) {
        EXPECT_FALSE(console_->RefreshTimer()->isActive()) << "held while the dialog is open";
        EXPECT_TRUE(dialog.AllProtocols()->isChecked());
        EXPECT_FALSE(dialog.Protocol(2)->isEnabled());
        dialog.AllProtocols()->click();
        EXPECT_TRUE(dialog.Protocol(2)->isChecked()) << "TCP/IP when nothing else is chosen";
        dialog.Protocol(2)->click();
        dialog.btnOK_Click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(boxes_.Shown().back().text, "Please select the protocol(s)");
        dialog.btnCancel_Click();
    });
    FromMenu("mnuPreference");
    EXPECT_TRUE(console_->RefreshTimer()->isActive());
    EXPECT_EQ(protocols->ReadNumber("Protocols"), 7u);

    // A period of 0 stops the refresh, and the next start keeps it off.
    OnDialog<console::frmPreference>([](console::frmPreference& dialog) {
        dialog.RefreshTime()->setValue(0);
        dialog.btnOK_Click();
    });
    FromMenu("mnuPreference");
    EXPECT_FALSE(console_->RefreshTimer()->isActive());
    EXPECT_EQ(State().options.autoRefresh, 0);
    CloseConsole();
    OpenConsole(false);
    EXPECT_FALSE(console_->RefreshTimer()->isActive());
}

}  // namespace
}  // namespace consoletest
