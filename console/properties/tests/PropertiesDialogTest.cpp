// The printer properties dialog against simulated cards of every engine type: the menus it shows,
// the settings it writes in batches, the commands it sends and the rules between its controls.
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <bit>

#include "console/core/StringTable.h"
#include "console/properties/NumberBox.h"
#include "console/properties/frmProperties.h"
#include "console/properties/tests/CardsFixture.h"
#include "console/tests/PressButton.h"

namespace consoletest {
namespace {

using console::Setting;

// A list setting: its objects under E.1, the first string id of its table and the table's size.
struct MaskedList {
    Setting setting;
    const char* value;
    const char* mask;
    int firstText;
    int entries;
};

const MaskedList kBitLists[] = {
    {Setting::PaperSize, "2.1.0", "2.2.0", 4100, 16},   {Setting::Tray, "2.8.0", "2.9.0", 4120, 6},
    {Setting::Resolution, "2.16.0", "2.17.0", 4160, 3}, {Setting::AutoCr, "2.14.0", "2.15.0", 4194, 2},
    {Setting::Emulation, "3.1.0", "3.2.0", 4200, 14},   {Setting::PowerSave, "3.7.0", "3.8.0", 4240, 7},
    {Setting::TonerSave, "3.11.0", "3.12.0", 4196, 2},  {Setting::JamRecovery, "3.13.0", "3.14.0", 4196, 2},
    {Setting::Srt, "4.1.0", "4.2.0", 4300, 6},          {Setting::Density, "4.5.0", "4.6.0", 4320, 3},
    {Setting::Smet, "4.11.0", "4.12.0", 4196, 2},       {Setting::BaudRate, "5.1.0", "5.2.0", 4360, 10},
};

QStringList Texts(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->itemText(i);
    }
    return texts;
}

QStringList MaskTexts(int firstText, int entries, long long mask) {
    QStringList texts;
    for (int i = 0; i < entries; ++i) {
        if ((mask >> i) & 1) {
            texts << console::LoadString(firstText + i);
        }
    }
    return texts;
}

class PropertiesDialogTest : public CardsFixture {
  protected:
    std::unique_ptr<console::frmProperties> Open(Card card) {
        Select(card);
        auto dialog = std::make_unique<console::frmProperties>();
        dialog->Form_Load();
        EXPECT_TRUE(dialog->Form_Activate());
        return dialog;
    }
    long long Card1(Card card, const char* item) { return std::stoll(CardValue(card, E + ".1." + item)); }
    std::uint32_t SetsSeen(Card card) {
        std::uint32_t sets = 0;
        cards.Inspect(card, [&](sim::Card& target) { sets = target.Counters().inSetRequests; });
        return sets;
    }
    // Chooses another item of the list than the one shown; its code.
    static QString ChooseAnother(console::frmProperties& dialog, Setting setting) {
        QComboBox* list = dialog.List(setting);
        EXPECT_GE(list->count(), 2);
        const QString text = list->itemText(list->currentIndex() == 0 ? 1 : 0);
        dialog.Choose(setting, text);
        return text;
    }
};

TEST_F(PropertiesDialogTest, EveryEngineShowsExactlyTheChoicesItsMasksAllow) {
    for (Card card : {kOffice, kCompact, kCustomPaper}) {
        auto dialog = Open(card);
        const int type = card == kOffice ? 1 : card == kCompact ? 2 : 4;
        ASSERT_EQ(dialog->EngineType(), type);
        ASSERT_TRUE(dialog->ReadOk());
        EXPECT_EQ(dialog->ModelBox()->text(), card == kCustomPaper ? "7171"
                                              : card == kOffice    ? "6060"
                                                                   : "5050");
        for (const MaskedList& list : kBitLists) {
            const int entries =
                list.setting == Setting::PaperSize && card == kCustomPaper ? 17 : list.entries;
            EXPECT_EQ(Texts(dialog->List(list.setting)),
                      MaskTexts(list.firstText, entries, Card1(card, list.mask)))
                << kCards[card].name << " " << list.value;
            const long long value = Card1(card, list.value);
            EXPECT_EQ(dialog->List(list.setting)->currentText(),
                      console::LoadString(list.firstText +
                                          std::countr_zero(static_cast<unsigned long long>(value))))
                << kCards[card].name << " " << list.value;
        }
        EXPECT_EQ(dialog->List(Setting::Altitude)->isEnabled(), card == kOffice);
        EXPECT_EQ(dialog->Command(Setting::Opc)->isEnabled(), card == kOffice);
        EXPECT_EQ(dialog->Command(Setting::Fuser)->isEnabled(), card == kCompact);
        QComboBox* duplex = dialog->List(Setting::Duplex);
        EXPECT_EQ(duplex->isEnabled() && !duplex->isHidden(), card == kOffice) << "the compact has no duplex";
        EXPECT_EQ(dialog->Box(Setting::CustomWidth)->isHidden(), card != kCustomPaper);
        EXPECT_EQ(dialog->List(Setting::PsError)->isEnabled(), card == kCustomPaper);
        EXPECT_EQ(dialog->List(Setting::SymbolSet)->count(), card == kCustomPaper ? 38 : 34);
        EXPECT_EQ(dialog->List(Setting::Typeface)->count(), 54);
        EXPECT_EQ(dialog->Box(Setting::Pitch)->findChild<QLineEdit*>()->text(), "10");
        EXPECT_EQ(dialog->Box(Setting::Point)->findChild<QLineEdit*>()->text(), "12");
        for (int tab = 0; tab < dialog->Tabs()->count(); ++tab) {
            dialog->Tabs()->setCurrentIndex(tab);
            SavePicture(dialog.get(), QString("frmProperties-type%1-tab%2").arg(type).arg(tab));
        }
        dialog->Tabs()->setCurrentIndex(6);
        EXPECT_EQ(dialog->Tips()->text().isEmpty(), card == kCustomPaper) << "PS SIMM is not found";
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(dialog->Box(Setting::Lines), &enter);
        EXPECT_EQ(dialog->Tips()->text(), console::LoadString(4099));
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(PropertiesDialogTest, ChangesOnEveryTabAreWrittenInBatchesAndReadBack) {
    for (Card card : {kOffice, kCompact, kCustomPaper}) {
        auto dialog = Open(card);
        pauses.clear();
        const std::uint32_t setsBefore = SetsSeen(card);
        dialog->Box(Setting::Copies)->stepBy(2);
        dialog->Option(Setting::Orientation, false)->click();
        dialog->Box(Setting::TopMargin)->stepBy(5);
        const QString resolution = ChooseAnother(*dialog, Setting::Resolution);
        const QString emulation = ChooseAnother(*dialog, Setting::Emulation);
        const QString power = ChooseAnother(*dialog, Setting::PowerSave);
        const QString density = ChooseAnother(*dialog, Setting::Density);
        QLineEdit* timeout = dialog->Box(Setting::IoTimeout)->findChild<QLineEdit*>();
        timeout->clear();
        QTest::keyClicks(dialog->Box(Setting::IoTimeout), "45");
        const QString baud = ChooseAnother(*dialog, Setting::BaudRate);
        dialog->Option(Setting::RobustXon, false)->click();
        dialog->Choose(Setting::Typeface, dialog->List(Setting::Typeface)->itemText(10));
        QTest::keyClicks(dialog->Box(Setting::Lines), "");
        dialog->Box(Setting::Lines)->stepBy(-3);
        if (card == kCustomPaper) {
            ChooseAnother(*dialog, Setting::PsError);
        }
        dialog->pbuOK_Click();
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << kCards[card].name;
        EXPECT_TRUE(boxes.Shown().empty()) << boxes.Shown().front().text.toStdString();

        EXPECT_EQ(Card1(card, "2.5.0"), 3) << "copies";
        EXPECT_EQ(Card1(card, "2.6.0"), 2) << "landscape";
        EXPECT_EQ(Card1(card, "2.10.0"), 5) << "top margin 0.5 written in tenths";
        EXPECT_EQ(MaskTexts(4160, 3, Card1(card, "2.16.0")), QStringList{resolution});
        EXPECT_EQ(MaskTexts(4200, 14, Card1(card, "3.1.0")), QStringList{emulation});
        EXPECT_EQ(MaskTexts(4240, 7, Card1(card, "3.7.0")), QStringList{power});
        EXPECT_EQ(MaskTexts(4320, 3, Card1(card, "4.5.0")), QStringList{density});
        EXPECT_EQ(Card1(card, "4.3.0"), 45) << "typed time-out";
        EXPECT_EQ(MaskTexts(4360, 10, Card1(card, "5.1.0")), QStringList{baud});
        EXPECT_EQ(Card1(card, "5.3.0"), 1) << "robust XON off";
        EXPECT_EQ(Card1(card, "6.3.0"), 10) << "the typeface as plain digits";
        EXPECT_EQ(Card1(card, "6.6.0"), 57) << "lines";
        const std::uint32_t batches = card == kCustomPaper ? 6 : 5;
        EXPECT_EQ(SetsSeen(card) - setsBefore, batches);
        const std::vector<int> expected = {100, 200, 400, 800, 1600, 1600};
        EXPECT_EQ(pauses, std::vector<int>(expected.begin(), expected.begin() + batches))
            << "a growing pause after each batch, within bounds";
    }
}

TEST_F(PropertiesDialogTest, OkWithNothingChangedSendsNothingAndCloses) {
    auto dialog = Open(kCompact);
    const std::uint32_t before = SetsSeen(kCompact);
    dialog->pbuOK_Click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(SetsSeen(kCompact), before);
    EXPECT_TRUE(pauses.empty());
}

TEST_F(PropertiesDialogTest, ARefusedBatchIsNamedAndALaterOkCompletesWithoutRewriting) {
    auto dialog = Open(kOffice);
    dialog->Box(Setting::Copies)->stepBy(1);
    const QString emulation = ChooseAnother(*dialog, Setting::Emulation);
    ChooseAnother(*dialog, Setting::Density);
    // The card stops offering the chosen emulation: the config batch is refused.
    PutCardValue(kOffice, E + ".1.3.2.0", sim::MibValue::Integer(1));
    const std::uint32_t setsBefore = SetsSeen(kOffice);
    dialog->pbuOK_Click();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.contains("Config menu")) << boxes.Shown()[0].text.toStdString();
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Progress()->value(), 10);
    EXPECT_EQ(Card1(kOffice, "2.5.0"), 2) << "the printing batch went through";

    PutCardValue(kOffice, E + ".1.3.2.0", sim::MibValue::Integer(0xA03));
    dialog->pbuOK_Click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(MaskTexts(4200, 14, Card1(kOffice, "3.1.0")), QStringList{emulation});
    EXPECT_EQ(SetsSeen(kOffice) - setsBefore, 4u) << "printing, refused config, config, job: printing once";
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

TEST_F(PropertiesDialogTest, MaintenanceCommandsReachTheCard) {
    struct Case {
        Card card;
        Setting command;
        const char* success;
    };
    const Case cases[] = {
        {kOffice, Setting::Opc, "OPC clean success!!"},
        {kCompact, Setting::Fuser, "Fuser clean success!!"},
    };
    for (const Case& c : cases) {
        auto dialog = Open(c.card);
        boxes.Clear();
        const std::uint32_t before = SetsSeen(c.card);
        dialog->Command(c.command)->click();
        ASSERT_EQ(boxes.Shown().size(), 2u);
        EXPECT_EQ(boxes.Shown()[0].kind, console::kQuestion);
        EXPECT_EQ(boxes.Shown()[1].text.trimmed(), c.success);
        EXPECT_EQ(SetsSeen(c.card) - before, 1u);
    }
    // Fuser cleaning while printing: the card refuses, the printer is busy.
    cards.SetStatus(kCompact, 3);
    auto compact = Open(kCompact);
    boxes.Clear();
    compact->cmdFuser_Click();
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].text, "The printer is busy.");

    auto model7171 = Open(kCustomPaper);
    boxes.Clear();
    pauses.clear();
    model7171->cmdPS_Click();
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].text.trimmed(), "PostScript font list sent!!");
    EXPECT_EQ(pauses, std::vector<int>{2000});
    auto office = Open(kOffice);
    boxes.Clear();
    office->cmdPCL_Click();
    EXPECT_EQ(boxes.Shown().back().text.trimmed(), "PCL font list sent!!");
}

TEST_F(PropertiesDialogTest, MenuResetShowsTheDefaultsWithFullListsAndNothingMarkedChanged) {
    auto dialog = Open(kCompact);
    dialog->Choose(Setting::Tray, "First");
    ASSERT_EQ(Card1(kCompact, "2.8.0"), 2);
    ChooseAnother(*dialog, Setting::PowerSave);
    PutCardValue(kCompact, E + ".1.3.7.0", sim::MibValue::Integer(1));
    pauses.clear();
    const std::uint32_t before = SetsSeen(kCompact);
    dialog->cmdMenuClear_Click();
    EXPECT_EQ(SetsSeen(kCompact) - before, 1u);
    EXPECT_EQ(pauses, std::vector<int>{1500});
    EXPECT_EQ(Card1(kCompact, "2.8.0"), 1) << "the tray is back to Auto";
    EXPECT_EQ(dialog->List(Setting::Tray)->currentText(), "Auto");
    EXPECT_EQ(dialog->List(Setting::PowerSave)->currentText(), "15 min");
    EXPECT_EQ(Texts(dialog->List(Setting::PaperType)), MaskTexts(4340, 6, 0x0F));
    EXPECT_EQ(dialog->List(Setting::PaperSize)->count(), 14);
    EXPECT_TRUE(dialog->Slots().Changed(1, 63).oids.isEmpty());
}

TEST_F(PropertiesDialogTest, AnotherTrayIsWrittenAtOnceAndItsPaperChoicesReadAgain) {
    auto dialog = Open(kCustomPaper);
    dialog->Choose(Setting::Tray, "Option");
    EXPECT_EQ(Card1(kCustomPaper, "2.8.0"), 8);
    EXPECT_EQ(Texts(dialog->List(Setting::PaperSize)), MaskTexts(4100, 17, 0x13FF));
    EXPECT_EQ(Texts(dialog->List(Setting::PaperType)), MaskTexts(4350, 9, 0x3));
    EXPECT_EQ(Texts(dialog->List(Setting::LockTray)), MaskTexts(4220, 11, 0xF));
    EXPECT_FALSE(dialog->List(Setting::PaperSize)->currentText().isEmpty());
    EXPECT_TRUE(boxes.Shown().empty());

    // A refused immediate write leaves the lists as they were.
    cards.SetFaults(kCustomPaper, sim::Protocol::Ip, {.errorStatus = 5});
    dialog->Choose(Setting::Tray, "First");
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(Texts(dialog->List(Setting::PaperSize)), MaskTexts(4100, 17, 0x13FF));
}

TEST_F(PropertiesDialogTest, CustomPaperKeepsTheMarginsAndTypedNumbersAreChecked) {
    PutCardValue(kCustomPaper, E + ".1.2.10.0", sim::MibValue::Integer(45));
    auto dialog = Open(kCustomPaper);
    QLineEdit* top = dialog->Box(Setting::TopMargin)->findChild<QLineEdit*>();
    EXPECT_EQ(top->text(), "4.5");
    EXPECT_FALSE(dialog->Box(Setting::CustomWidth)->isEnabled());
    dialog->Choose(Setting::PaperSize, "Custom");
    EXPECT_TRUE(dialog->Box(Setting::CustomWidth)->isEnabled());
    EXPECT_EQ(top->text(), "4.5") << "a custom size keeps the margins";
    dialog->Choose(Setting::PaperSize, "JIS-B5 182 x 257 mm");
    EXPECT_EQ(top->text(), "4") << "capped at what the paper allows";
    EXPECT_EQ(dialog->Slots().At(Setting::TopMargin).valueText, "40");

    // A number outside the range, or no number, is never stored.
    dialog->Choose(Setting::PaperSize, "Custom");
    QLineEdit* width = dialog->Box(Setting::CustomWidth)->findChild<QLineEdit*>();
    width->clear();
    QTest::keyClicks(dialog->Box(Setting::CustomWidth), "300");
    EXPECT_EQ(dialog->Slots().At(Setting::CustomWidth).valueText, "210") << "as read";
    EXPECT_EQ(boxes.Shown().size(), 3u) << "3, 30 and 300 are all out of range";
    EXPECT_TRUE(boxes.Shown().back().text.startsWith("Value out of range: Range is   76 -  215"));
    width->selectAll();
    QTest::keyClicks(dialog->Box(Setting::CustomWidth), "100");
    EXPECT_EQ(dialog->Slots().At(Setting::CustomWidth).valueText, "100");
    QLineEdit* pitch = dialog->Box(Setting::Pitch)->findChild<QLineEdit*>();
    pitch->setText("12abc");
    emit dialog->Box(Setting::Pitch)->Edited();
    EXPECT_FALSE(dialog->Slots().At(Setting::Pitch).changed) << "pasted text that is no number";
    dialog->pbuOK_Click();
    EXPECT_EQ(Card1(kCustomPaper, "2.20.0"), 100);
    EXPECT_EQ(Card1(kCustomPaper, "2.10.0"), 40);
}

// What a number box shows when OK is pressed is what OK writes, however OK is pressed: a box still
// being edited is taken as leaving it takes it (a number it cannot take gives way to its fall-back,
// or to what the box held before); a box only visited writes nothing.
TEST_F(PropertiesDialogTest, OkWritesWhatTheNumberBoxesShowByEnterMnemonicOrMouse) {
    struct Case {
        Setting setting;
        const char* item;  // the setting's object under E.1
        std::int32_t onCard;
        const char* typed;     // null: the box only gets the focus
        std::int32_t written;  // -1: nothing is written
        const char* shown;     // the box's text as OK writes it
    };
    const Case cases[] = {
        {Setting::Copies, "2.5.0", 5, "12", 12, "12"},
        {Setting::Copies, "2.5.0", 5, "0", 1, "1"},      // below the range: its fall-back
        {Setting::Lines, "6.6.0", 60, "200", -1, "60"},  // 20 stood in the box on the way to 200
        {Setting::Copies, "2.5.0", 0, nullptr, -1, "0"},
    };
    for (const Case& c : cases) {
        for (const Press press : kEveryPress) {
            const std::string what =
                std::string(c.item) + " " + (c.typed ? c.typed : "visited") + " by " + PressName(press);
            PutCardValue(kCompact, E + ".1." + c.item, sim::MibValue::Integer(c.onCard));
            std::uint32_t sets[kCardCount];
            for (int card = 0; card < kCardCount; ++card) {
                sets[card] = SetsSeen(static_cast<Card>(card));
            }
            auto dialog = Open(kCompact);
            dialog->show();
            console::NumberBox* box = dialog->Box(c.setting);
            QTabWidget* tabs = dialog->Tabs();
            for (int tab = 0; tab < tabs->count(); ++tab) {
                if (tabs->widget(tab)->isAncestorOf(box)) {
                    tabs->setCurrentIndex(tab);
                }
            }
            box->setFocus();
            box->selectAll();
            if (c.typed != nullptr) {
                QTest::keyClicks(box, c.typed);
            }
            PressButton(dialog->findChild<QPushButton*>("pbuOK"), press);
            EXPECT_FALSE(dialog->isVisible()) << what;
            EXPECT_EQ(box->findChild<QLineEdit*>()->text(), c.shown) << what;
            dialog->reject();  // one that OK left open goes before it is destroyed
            EXPECT_EQ(Card1(kCompact, c.item), c.written < 0 ? c.onCard : c.written) << what;
            for (int card = 0; card < kCardCount; ++card) {
                const bool target = card == kCompact && c.written >= 0;
                EXPECT_EQ(SetsSeen(static_cast<Card>(card)) - sets[card], target ? 1u : 0u)
                    << what << " card " << card;
            }
        }
    }
}

TEST_F(PropertiesDialogTest, AnExternalPrintServerHasNoFrontPanel) {
    Select(kExternal);
    console::frmProperties dialog;
    dialog.Form_Load();
    EXPECT_EQ(dialog.EngineType(), 3);
    EXPECT_FALSE(dialog.Form_Activate());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, console::LoadString(12109));
}

TEST_F(PropertiesDialogTest, AVersionWithoutDateIsEngineTypeTwoAndAFailedReadSaysWhat) {
    PutCardValue(kOffice, E + ".1.1.1.2.0", sim::MibValue::Text("V3"));
    auto dialog = Open(kOffice);
    EXPECT_EQ(dialog->EngineType(), 2);
    EXPECT_TRUE(dialog->ReadOk());
    EXPECT_TRUE(boxes.Shown().empty());

    cards.SetFaults(kCompact, sim::Protocol::Ip, {.errorStatus = 5});
    Select(kCompact);
    console::frmProperties failed;
    failed.Form_Load();
    EXPECT_FALSE(failed.ReadOk());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.contains("Model details")) << boxes.Shown()[0].text.toStdString();
}

}  // namespace
}  // namespace consoletest
