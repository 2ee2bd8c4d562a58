// The printer list: items from the rows, the chosen columns, selection by hardware address, and
// status notices shown in place.
#include <gtest/gtest.h>

#include <QStandardItemModel>
#include <QTreeView>

#include "console/core/ConsoleState.h"
#include "console/core/PrinterList.h"
#include "console/core/StringTable.h"

namespace console {
namespace {

class PrinterListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        State() = ConsoleState();
        for (std::size_t column = 0; column < kColumnCount; ++column) {
            State().columnTitles[column] = LoadString(150 + static_cast<int>(column));
        }
    }
    static void Rows(int count) {
        for (int i = 0; i < count; ++i) {
            PrinterRow row;
            row.name = QString("Card-%1").arg(i + 1);
            row.mac = QString("00005E%1").arg(i + 1, 6, 16, QChar('0')).toUpper();
            row.ip = QString("127.0.%1.%2").arg(i / 250).arg(i % 250 + 1);
            row.status = i % 2 == 0 ? 0 : 68;
            row.category = 2;
            row.detected = 1;
            State().rows.push_back(row);
        }
    }
    static void Show(std::initializer_list<std::size_t> columns) {
        for (ColumnLayout& column : State().options.columns) {
            column.visible = false;
        }
        for (std::size_t column : columns) {
            State().options.columns[column].visible = true;
        }
    }
};

TEST_F(PrinterListTest, ItemsShowTheVisibleColumnsOnly) {
    Rows(2);
    Show({kNameColumn, kIpColumn});
    PrinterList list;
    list.FillPrinterList(false);
    QStandardItemModel* model = list.Model();
    ASSERT_EQ(model->columnCount(), 2);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "IP Address");
    EXPECT_EQ(model->item(1, 0)->text(), "Card-2");
    EXPECT_EQ(model->item(1, 1)->text(), "127.0.0.2");

    Show({kNameColumn, kDescriptionColumn, kStatusColumn, kMacColumn});
    list.FillPrinterList(false);
    EXPECT_EQ(model->columnCount(), 4);
    EXPECT_EQ(model->item(1, 2)->text(), "COVER OPEN");
    EXPECT_EQ(model->item(1, 3)->text(), "00005E000002");
}

TEST_F(PrinterListTest, AThousandRowsAndMoreAreListedAndSelectedByHardwareAddress) {
    Rows(1200);
    Show({kNameColumn, kStatusColumn});
    PrinterList list;
    list.FillPrinterList(false);
    ASSERT_EQ(list.Model()->rowCount(), 1200);
    list.SelectMac("00005e0004b0");  // row 1200
    list.SelectCurrentPrinter();
    EXPECT_EQ(State().currentRow, 1199);
    // A second server of the same name is still told apart.
    State().rows[5].name = State().rows[1199].name;
    list.FillPrinterList(true);
    list.SelectCurrentPrinter();
    EXPECT_EQ(State().currentRow, 1199) << "the selection stays with its hardware address";
}

TEST_F(PrinterListTest, ANoticeChangesTheStatusTextOnlyWhenItsColumnIsShown) {
    Rows(3);
    Show({kNameColumn, kDescriptionColumn, kStatusColumn});
    PrinterList list;
    list.FillPrinterList(false);
    const QIcon before = list.Model()->item(2, 0)->icon();
    list.ShowStatus("00005e000003", 3, 2);
    EXPECT_EQ(list.Model()->item(2, 2)->text(), "PRINTING");
    EXPECT_NE(list.Model()->item(2, 0)->icon().cacheKey(), before.cacheKey());

    Show({kNameColumn});
    list.FillPrinterList(false);
    list.ShowStatus("00005E000003", 68, 2);  // no status column: the icon alone changes
    EXPECT_EQ(list.Model()->columnCount(), 1);
    EXPECT_EQ(list.Model()->item(2, 0)->text(), "Card-3");
}

}  // namespace
}  // namespace console
