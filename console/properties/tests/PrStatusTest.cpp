// The printer status dialog against simulated cards: what it shows and what it keeps; the main
// window's commands that open the dialogs.
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include "console/core/StringTable.h"
#include "console/properties/DeviceCommands.h"
#include "console/properties/frmPrStatus.h"
#include "console/properties/tests/CardsFixture.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace consoletest {
namespace {

using console::State;

std::string StoredText(const char* mac, const char* name) {
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + mac;
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, path.c_str(), plat::kStoreRead);
    return key ? key->ReadText(name).value_or("none") : "no key";
}

using PrStatusTest = CardsFixture;

TEST_F(PrStatusTest, ShowsAndKeepsNameLocationWhoAndStatusOfEveryEngine) {
    struct Case {
        Card card;
        std::int32_t status;
        const char* who;
        QString statusText;
    };
    const Case cases[] = {
        {kOffice, 0, "alice on PC-7", "READY"},
        {kCompact, 68, "", "COVER OPEN"},
        {kExternal, 3, "bob", "PRINTING"},
        {kCustomPaper, 5, "carol", "Invalid Status Passed to the UI"},
    };
    for (const Case& c : cases) {
        cards.SetStatus(c.card, c.status);
        PutCardValue(c.card, E + ".12.4.2.0", sim::MibValue::Text(c.who));
        Select(c.card);
        console::frmPrStatus dialog;
        ASSERT_TRUE(dialog.Form_Load()) << kCards[c.card].name;
        EXPECT_EQ(dialog.NameBox()->text(), kCards[c.card].name);
        EXPECT_EQ(dialog.DescriptionBox()->text(), QString("Floor %1").arg(c.card + 1));
        EXPECT_EQ(dialog.WhoBox()->text(), c.who);
        EXPECT_EQ(dialog.StatusBox()->text(), c.statusText);
        const console::PrintServerEntry& entry = State().servers[c.card];
        EXPECT_EQ(entry.name, kCards[c.card].name);
        EXPECT_EQ(entry.status, c.status) << "a code outside the table is still kept";
        EXPECT_EQ(StoredText(kCards[c.card].mac, "Print Server Name"), kCards[c.card].name);
        EXPECT_EQ(StoredText(kCards[c.card].mac, "Print Server Description"),
                  "Floor " + std::to_string(c.card + 1));
        if (c.card == kCompact) {
            SavePicture(&dialog, "frmPrStatus");
        }
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(PrStatusTest, AStatusThatIsNoNumberIsUnknownAndEmptyTextsKeepTheStore) {
    PutCardValue(kOffice, E + ".1.9.1.0", sim::MibValue::Text("jammed"));
    PutCardValue(kOffice, "1.3.6.1.2.1.1.5.0", sim::MibValue::Text(""));
    Select(kOffice);
    console::frmPrStatus dialog;
    ASSERT_TRUE(dialog.Form_Load());
    EXPECT_EQ(dialog.StatusBox()->text(), console::LoadString(9999));
    const console::PrintServerEntry& entry = State().servers[kOffice];
    EXPECT_EQ(entry.status, -1) << "an unknown status is never stored";
    EXPECT_EQ(entry.name, "Stored name 0");
    EXPECT_EQ(StoredText(kCards[kOffice].mac, "Print Server Name"), "Stored name 0");
    EXPECT_EQ(StoredText(kCards[kOffice].mac, "Print Server Description"), "Floor 1");
}

TEST_F(PrStatusTest, AFailedReadIsShownAndNothingIsKept) {
    cards.SetFaults(kCompact, sim::Protocol::Ip, {.errorStatus = 2});
    Select(kCompact);
    console::frmPrStatus dialog;
    EXPECT_FALSE(dialog.Form_Load());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].kind, console::kWarning);
    EXPECT_EQ(State().servers[kCompact].name, "Stored name 1");
    EXPECT_EQ(StoredText(kCards[kCompact].mac, "Print Server Name"), "none");
}

TEST_F(PrStatusTest, CommandsProbeThePrintServerFirstThenShowTheirDialog) {
    Select(kOffice);
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            dialog->close();
        }
    });
    console::PrinterStatusCommand(nullptr);
    EXPECT_EQ(State().servers[kOffice].name, "PS-Office") << "the dialog was shown and kept the name";

    cards.SetFaults(kCompact, sim::Protocol::Ip, {.errorStatus = 5});
    Select(kCompact);
    console::ProtocolStatisticsCommand(nullptr);
    console::FrontPanelCommand(nullptr, [] { return true; });
    ASSERT_EQ(boxes.Shown().size(), 2u) << "each probe failure is shown, and no dialog opens";
    EXPECT_EQ(boxes.Shown()[0].text, boxes.Shown()[1].text);
}

}  // namespace
}  // namespace consoletest
