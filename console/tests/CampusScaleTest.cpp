// The console at campus scale: ten thousand simulated print servers, detected, followed, sorted
// and filtered as a person does it.
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>
#include <QStandardItemModel>
#include <QTreeView>

#include "console/core/ConsoleState.h"
#include "console/core/PrinterList.h"
#include "console/core/dialogs/frmAFilter.h"
#include "console/tests/CommandsFixture.h"

namespace consoletest {
namespace {

constexpr int kCards = 10000;
constexpr int kGroup = kCards / 4;
constexpr int kStatusSection = 2;
constexpr int kWaitMs = 30000;

// Four groups of 2500 cards, each with its own printer status, addresses counting on. Cards without
// a front panel are the quickest for one simulator to make.
const char* const kCampus =
    "cards 2500 Ready mac=00005E500001 ip=127.0.30.1 protocols=ip engine=external status=0\n"
    "cards 2500 Printing mac=00005E5009C5 ip=127.0.39.197 protocols=ip engine=external status=3\n"
    "cards 2500 Open mac=00005E501389 ip=127.0.49.137 protocols=ip engine=external status=68\n"
    "cards 2500 Tray mac=00005E501D4D ip=127.0.59.77 protocols=ip engine=external status=1025\n";
// One simulator answers a broadcast for ten thousand cards slowly in a sanitized build: the
// detection listens long enough for all of them.
constexpr std::uint32_t kListeningSeconds = 10;

class CampusScaleTest : public CommandsFixture {
  protected:
    void SetUp() override {
        CommandsFixture::SetUp();
        plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kSnmpKey)
            ->WriteNumber("AutoDetectTimeout", kListeningSeconds);
    }
    QString StatusOf(const QString& name) const {
        const QList<QStandardItem*> found = Model()->findItems(name);
        return found.isEmpty() ? QString() : Model()->item(found.front()->row(), kStatusSection)->text();
    }
    // A click on the header of the list's section, where a person clicks it.
    void ClickHeader(int section) {
        QHeaderView* header = console_->List()->DetailView()->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
    }
    void AdvancedFilter(const std::function<void(console::frmAFilter&)>& choose) {
        OnDialog<console::frmAFilter>([choose](console::frmAFilter& dialog) {
            choose(dialog);
            dialog.pbuOk_Click();
        });
        FromMenu("mnuFilter3");
    }
};

QStringList Sorted(QStringList texts, bool descending) {
    std::stable_sort(texts.begin(), texts.end(),
                     [descending](const QString& a, const QString& b) { return descending ? b < a : a < b; });
    return texts;
}

TEST_F(CampusScaleTest, TenThousandPrintServersAreListedFollowedSortedAndFiltered) {
    ASSERT_NO_FATAL_FAILURE(StartCards(kCampus));
    ASSERT_NO_FATAL_FAILURE(OpenConsole());

    // Every print server has its row, once, with the status it reported.
    ASSERT_EQ(Model()->rowCount(), kCards);
    QSet<QString> macs;
    for (int row = 0; row < kCards; ++row) {
        macs.insert(Model()->item(row, 0)->data(Qt::UserRole + 1).toString());
    }
    EXPECT_EQ(macs.size(), kCards);
    EXPECT_TRUE(macs.contains("00005E500001") && macs.contains("00005E502710"));
    EXPECT_EQ(Column(kStatusSection).count("PRINTING"), kGroup);
    EXPECT_EQ(StatusOf("Tray-2500"), "LOAD 1ST TRAY");

    // A card deep in the list changes its status: its trap reaches its row, and only its row.
    ASSERT_EQ(cards_.Command("status Ready-1234 68"), "ok");
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusOf("Ready-1234") == "COVER OPEN"; }, kWaitMs));
    EXPECT_EQ(Column(kStatusSection).count("COVER OPEN"), kGroup + 1);
    EXPECT_EQ(StatusOf("Ready-1233"), "READY");

    // The status header sorts by status text, one way and then the other.
    ClickHeader(kStatusSection);
    const QStringList descending = Column(kStatusSection);
    EXPECT_EQ(descending, Sorted(descending, true));
    EXPECT_EQ(descending.front(), "READY");
    ClickHeader(kStatusSection);
    const QStringList ascending = Column(kStatusSection);
    EXPECT_EQ(ascending, Sorted(ascending, false));
    EXPECT_EQ(ascending.mid(kGroup, 2), (QStringList{"COVER OPEN", "LOAD 1ST TRAY"}));

    // A name pattern and a status each leave exactly their rows.
    AdvancedFilter([](console::frmAFilter& dialog) {
        dialog.Rules()->setCurrentRow(console::frmAFilter::kNameRule);
        QTest::keyClicks(dialog.Pattern(), "Open-1?");
    });
    QStringList names = Column(0);
    names.sort();
    EXPECT_EQ(names, (QStringList{"Open-10", "Open-11", "Open-12", "Open-13", "Open-14", "Open-15", "Open-16",
                                  "Open-17", "Open-18", "Open-19"}));
    AdvancedFilter([](console::frmAFilter& dialog) {
        dialog.Rules()->setCurrentRow(console::frmAFilter::kStatusRule);
        dialog.Status()->setCurrentIndex(dialog.Status()->findText("COVER OPEN"));
    });
    ASSERT_EQ(Model()->rowCount(), kGroup + 1);
    EXPECT_EQ(Column(kStatusSection).count("COVER OPEN"), kGroup + 1);
    EXPECT_EQ(Model()->findItems("Ready-1234").size(), 1);
    FromMenu("mnuFilter1");
    EXPECT_EQ(Model()->rowCount(), kCards);
    SavePicture(console_.get(), "NewLook-campus");
}

}  // namespace
}  // namespace consoletest
