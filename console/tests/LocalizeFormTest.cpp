// Texts by id, form captions in each form's declared order, and the console's message boxes.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include <vector>

#include "console/core/ConsoleState.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "console/tests/MessageRecorder.h"

namespace console {
namespace {

TEST(StringTableTest, TextsComeByIdAndAMissingIdIsAFault) {
    EXPECT_EQ(LoadString(0), "Quillmar");
    EXPECT_EQ(LoadString(10003), "PRINTING");
    EXPECT_EQ(LoadString(12008), "Value out of range: Range is ");
    EXPECT_THROW(LoadString(45), MissingString);
    EXPECT_EQ(DuplicateStringIds(), std::vector<int>{});
}

// A form with a separator, an empty label and three tabs: the separator and the empty label take no
// id, the tabs take three in a row.
struct SampleForm {
    QWidget form;
    QPushButton* button = new QPushButton("Go", &form);
    QMenu* menu = new QMenu("File", &form);
    QAction* separator = menu->addSeparator();
    QAction* item = menu->addAction("Open");
    QLabel* empty = new QLabel("", &form);
    QTabWidget* tabs = new QTabWidget(&form);
    QCheckBox* check = new QCheckBox("Check", &form);

    SampleForm() {
        for (const char* tab : {"a", "", "c"}) {
            tabs->addTab(new QWidget, tab);
        }
    }
    CaptionOrder Order() {
        return CaptionOrder() << button << menu << separator << item << empty << tabs << check;
    }
};

TEST(LocalizeFormTest, ControlsTakeTheirIdsInTheDeclaredOrder) {
    SampleForm sample;
    LocalizeForm(&sample.form, 0, sample.Order());
    EXPECT_EQ(sample.form.windowTitle(), LoadString(0));
    EXPECT_EQ(sample.button->text(), LoadString(1));
    EXPECT_EQ(sample.menu->title(), LoadString(2));
    EXPECT_EQ(sample.item->text(), LoadString(3));
    EXPECT_EQ(sample.empty->text(), "");
    EXPECT_EQ(sample.tabs->tabText(0), LoadString(4));
    EXPECT_EQ(sample.tabs->tabText(1), LoadString(5));
    EXPECT_EQ(sample.tabs->tabText(2), LoadString(6));
    EXPECT_EQ(sample.check->text(), LoadString(7));
}

TEST(LocalizeFormTest, BaseIdKeepsTheDesignCaptionsAndAShortBlockFails) {
    SampleForm kept;
    kept.form.setWindowTitle("Design");
    LocalizeForm(&kept.form, kKeepCaptions, kept.Order());
    EXPECT_EQ(kept.form.windowTitle(), "Design");
    EXPECT_EQ(kept.check->text(), "Check");

    SampleForm shortBlock;  // 44 is the last menu caption: 45 and on are not there
    EXPECT_THROW(LocalizeForm(&shortBlock.form, 42, shortBlock.Order()), MissingString);
}

TEST(MessagesTest, KindsGiveTitleAndButtonsAndCodesGiveTheirText) {
    consoletest::MessageRecorder cancel(kCancel);
    EXPECT_EQ(ShowMessage(12015, kQuestion), kCancel);
    ASSERT_EQ(cancel.Shown().size(), 1u);
    EXPECT_EQ(cancel.Shown()[0].title, "Quillmar Message - Confirmation");
    EXPECT_EQ(cancel.Shown()[0].text, "Application already running");

    consoletest::MessageRecorder boxes;
    ShowResult(25009, kWarning);
    ShowResult(20041, kCritical);
    ShowMessageEx(12008, kWarning, " 0 -  255");
    ShowMessage(12015, 0);
    ASSERT_EQ(boxes.Shown().size(), 4u);
    EXPECT_EQ(boxes.Shown()[0].title, "Quillmar Message.");
    EXPECT_EQ(boxes.Shown()[0].text, "Decode failure");
    EXPECT_EQ(boxes.Shown()[1].title, "Quillmar Message - Critical Error");
    EXPECT_EQ(boxes.Shown()[2].text, "Value out of range: Range is   0 -  255");
    EXPECT_EQ(boxes.Shown()[3].title, "");
}

// Results without a text of their own (DLC codes, a missing socket entry point, anything unknown)
// say so with their code; they are never some other caption.
TEST(MessagesTest, ACodeWithoutTextIsAnUnknownErrorWithItsCode) {
    consoletest::MessageRecorder boxes;
    for (int code : {1, 7, 10050, 99999, -3}) {
        ShowResult(code, kWarning);
        EXPECT_EQ(boxes.Shown().back().text, "Unknown error " + QString::number(code));
    }
}

// A message whose text is missing is a fault of the message itself: it says so plainly, and the
// caller goes on with no button pressed.
TEST(MessagesTest, AMessageExWithoutItsTextSaysSoUnderTheProductTitle) {
    State().productTitle = "Quillmar";
    consoletest::MessageRecorder boxes;
    EXPECT_EQ(ShowMessageEx(29999, kQuestion, "extra"), kNoButton);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Unexpected error in DisplayError");
    EXPECT_EQ(boxes.Shown()[0].title, "Quillmar");
    EXPECT_EQ(boxes.Shown()[0].kind, kPlain);
}

}  // namespace
}  // namespace console
