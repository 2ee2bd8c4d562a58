// The octet boxes of an IP address as a person types and pastes into them.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QVBoxLayout>

#include "console/core/OctetBoxes.h"
#include "console/tests/Typing.h"

namespace console {
namespace {

using consoletest::PasteInto;
using consoletest::TypeAtFocus;

class OctetBoxesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&form_);
        layout->addWidget(first_ = new OctetBoxes);
        layout->addWidget(second_ = new OctetBoxes);
        first_->SetNext(second_);
        form_.show();
        form_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
        first_->Box(0)->setFocus();
    }
    static QString Shown(const OctetBoxes* boxes) {
        QStringList parts;
        for (const QLineEdit* box : boxes->Boxes()) {
            parts << box->text();
        }
        return parts.join('|');
    }

    QWidget form_;
    OctetBoxes* first_ = nullptr;
    OctetBoxes* second_ = nullptr;
};

TEST_F(OctetBoxesTest, ADotOrAThirdDigitMovesOnAndOnlyDigitsGoIn) {
    const struct {
        const char* typed;
        const char* first;
        const char* second;
    } cases[] = {
        {"127.0.1.2", "127|0|1|2", "|||"},
        {"10.1.1.25", "10|1|1|25", "|||"},           // no third digit in the last box: it keeps the focus
        {"127001002003", "127|001|002|003", "|||"},  // full octets move on
        {"1.2.3.4.5", "1|2|3|4", "5|||"},            // a dot behind the last box moves to the next address
        {"192.168.000.254.255", "192|168|000|254", "255|||"},  // a dot after a full octet moves once
        {".1..2", "1|2||", "|||"},                             // a dot in an empty box does nothing
        {"1a-2 x3", "123|||", "|||"},                          // every other key is dropped
    };
    for (const auto& c : cases) {
        for (OctetBoxes* boxes : {first_, second_}) {
            for (QLineEdit* box : boxes->Boxes()) {
                box->clear();
            }
        }
        first_->Box(0)->setFocus();
        TypeAtFocus(c.typed);
        EXPECT_EQ(Shown(first_).toStdString(), c.first) << c.typed;
        EXPECT_EQ(Shown(second_).toStdString(), c.second) << c.typed;
    }
}

TEST_F(OctetBoxesTest, APastedAddressFillsAllFourBoxesFromAnyBox) {
    for (int box = 0; box < OctetBoxes::kBoxes; ++box) {
        for (QLineEdit* each : first_->Boxes()) {
            each->setText("9");
        }
        first_->Box(box)->selectAll();
        PasteInto(first_->Box(box), "10.20.30.40");
        EXPECT_EQ(Shown(first_).toStdString(), "10|20|30|40") << box;
        EXPECT_EQ(QApplication::focusWidget(), first_->Box(3)) << box;
    }
    // Part of an address goes on from the box it is pasted into; anything else is refused whole.
    first_->Box(1)->clear();
    first_->Box(2)->clear();
    PasteInto(first_->Box(1), "7.8");
    EXPECT_EQ(Shown(first_).toStdString(), "10|7|8|40");
    for (const char* refused : {"1.2.3.4x", "1234.5.6.7", "a.b.c.d", "1,2"}) {
        first_->Box(2)->selectAll();
        PasteInto(first_->Box(2), refused);
        EXPECT_EQ(Shown(first_).toStdString(), "10|7|8|40") << refused;
    }
}

}  // namespace
}  // namespace console
