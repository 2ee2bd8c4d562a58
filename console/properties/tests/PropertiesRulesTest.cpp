// The printer properties dialog's rules that need no printer: engine types, the slot table, the
// choice tables and the number boxes' stepping and key filter.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "console/core/StringTable.h"
#include "console/properties/ChoiceTables.h"
#include "console/properties/EngineTypeRule.h"
#include "console/properties/NumberBox.h"
#include "console/properties/PropertySettings.h"

namespace console {
namespace {

TEST(EngineTypeRuleTest, ModelDateAndTypeWordDecide) {
    const std::tuple<const char*, const char*, int> byModel[] = {
        {"7171", "V0.1 01/01/1990", 4},
        {"6060", "V2.14 06/21/1999", 2},
        {"6060", "V2.14 06/22/1999", 0},
        {"6060", "V2.14 08/15/2000", 0},
        {"6060", "V2.14", 2},
        {"6060", "", 2},
        {"6060", "V1 ab/cd/efgh", 2},
        {"6060", "V1 1/2/2000", 2},
    };
    for (const auto& [model, version, type] : byModel) {
        EXPECT_EQ(EngineTypeByModel(model, version), type) << model << " " << version;
    }
    const std::pair<std::int32_t, int> byWord[] = {{0x01FF, 1}, {0x0300, 1}, {0x0200, 2}, {0x0402, 4},
                                                   {0xFF00, 3}, {0x0500, 0}, {0, 0}};
    for (const auto& [word, type] : byWord) {
        EXPECT_EQ(EngineTypeByWord(word), type) << word;
    }
}

TEST(PropertySlotsTest, SettingsMoveSlotsOnEngineTypeFourAndOnlyChangedObjectsAreWritten) {
    PropertySlots table;
    table.BuildSettingsTable(2);
    EXPECT_EQ(table.SlotOf(Setting::Copies), 3);
    EXPECT_EQ(table.SlotOf(Setting::PsError), 0);
    EXPECT_EQ(table.ValueOid(Setting::CustomWidth), "");
    EXPECT_EQ(table.CapabilityOid(Setting::Duplex), "1.3.6.1.4.1.32473.11.5.1.1.2.13.0");
    table.Store(Setting::Resolution, "2");
    table.Store(Setting::Copies, "5");
    table.Keep(Setting::PaperSize, "1");
    table.Store(Setting::CustomWidth, "100");  // no object on this engine type
    ChangedSettings changed = table.Changed(1, 63);
    EXPECT_EQ(changed.oids,
              QStringList({"1.3.6.1.4.1.32473.11.5.1.1.2.5.0", "1.3.6.1.4.1.32473.11.5.1.1.2.16.0"}));
    EXPECT_EQ(changed.values, QStringList({"5", "2"}));
    table.ClearChanged(1, 10);
    EXPECT_TRUE(table.Changed(1, 63).oids.isEmpty());

    PropertySlots type4;
    type4.BuildSettingsTable(4);
    EXPECT_EQ(type4.SlotOf(Setting::Copies), 2);
    EXPECT_EQ(type4.SlotOf(Setting::CustomWidth), 9);
    EXPECT_EQ(type4.SlotOf(Setting::PsError), 20);
    EXPECT_EQ(type4.SlotOf(Setting::MpSize), 62);
    EXPECT_EQ(type4.ValueOid(Setting::MpSize), "");
    EXPECT_EQ(type4.ValueOid(Setting::WideA4), "");
    EXPECT_EQ(type4.ValueOid(Setting::CustomHeight), "1.3.6.1.4.1.32473.11.5.1.1.2.21.0");
}

TEST(ChoiceTablesTest, TablesMasksAndSelection) {
    const ChoiceTable symbols = MakeChoiceTable(Setting::SymbolSet, 1);
    ASSERT_EQ(symbols.size(), 34u) << "the sets engine types 1 to 3 have";
    EXPECT_EQ(symbols[6].text, LoadString(4507));
    EXPECT_EQ(symbols[6].code, 6);
    EXPECT_EQ(MakeChoiceTable(Setting::SymbolSet, 4).size(), 40u);
    EXPECT_EQ(MakeChoiceTable(Setting::PaperSize, 4).back().text, "Custom");
    EXPECT_EQ(MakeChoiceTable(Setting::PaperType, 4).size(), 9u);

    const ChoiceTable tonerLow = MakeChoiceTable(Setting::TonerLow, 2);
    EXPECT_EQ(Offered(tonerLow, 3).size(), 2u);
    EXPECT_EQ(Offered(tonerLow, 0).size(), 0u);
    const ChoiceTable courier = MakeChoiceTable(Setting::Courier, 2);
    EXPECT_EQ(Offered(courier, 1).size(), 2u) << "Dark, code 0, comes with Regular";

    QComboBox list;
    FillList(&list, tonerLow);
    SelectValue(&list, tonerLow, 2);
    EXPECT_EQ(list.currentText(), "Stop");
    SelectValue(&list, tonerLow, 3);
    EXPECT_EQ(list.currentText(), "Continue") << "two bits select the first in table order";
    FillList(&list, Offered(courier, 1));
    SelectValue(&list, courier, 0);
    EXPECT_EQ(list.currentText(), "Dark");
    EXPECT_EQ(CodeOf(courier, "Dark"), 0);
    EXPECT_FALSE(CodeOf(courier, "dark"));
    EXPECT_EQ(PaperMargins("A4 210 x 297 mm")->left, 6.5);
    EXPECT_FALSE(PaperMargins("Custom"));
}

struct StepCase {
    double minimum, maximum, step;
    bool wrapOnlyAtEnds;
    const char* start;
    int steps;
    const char* expected;
};

TEST(NumberBoxTest, StepsWrapAtTheEndsAndLandOnThem) {
    const StepCase cases[] = {
        {1, 999, 1, true, "1", -1, "999"},
        {1, 999, 1, true, "500", 1, "501"},
        {0.44, 99.99, 0.01, false, "99.99", 1, "0.44"},
        {0, 9.9, 0.1, true, "9.8", 1, "9.9"},
        {0, 9.9, 0.1, true, "9.9", 1, "0"},
        {0, 6.5, 0.1, false, "0", -1, "6.5"},
        {0, 6.5, 0.1, false, "9.9", 1, "0"},
        {0, 9.9, 0.1, true, "0", 99, "9.9"},
        {4, 99.75, 0.25, false, "12", 2, "12.5"},
        {0, 22, 1, false, "30", 1, "0"},
    };
    for (const StepCase& c : cases) {
        NumberBox box(c.minimum, c.maximum, c.step, c.wrapOnlyAtEnds);
        box.ShowText(c.start);
        box.stepBy(c.steps);
        EXPECT_EQ(box.findChild<QLineEdit*>()->text(), c.expected) << c.start << " by " << c.steps;
    }
}

TEST(NumberBoxTest, OnlyDigitsAndBackspaceAreTyped) {
    NumberBox box(0.44, 99.99, 0.01, false);
    for (const char* key : {"1", "2", ".", "5", "x", "-"}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, key);
        QCoreApplication::sendEvent(&box, &press);
    }
    EXPECT_EQ(box.findChild<QLineEdit*>()->text(), "125");
    QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QCoreApplication::sendEvent(&box, &back);
    EXPECT_EQ(box.findChild<QLineEdit*>()->text(), "12");
    box.ShowText("abc");
    EXPECT_FALSE(box.Number());
}

}  // namespace
}  // namespace console
