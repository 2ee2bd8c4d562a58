// The main window's Upgrade Firmware command: no keep-alive goes to any print server while its
// dialog is open, and without TCP/IP there is no upgrade to start.
#include <QStandardItemModel>

#include "console/core/PrinterList.h"
#include "console/core/TrapKeepAlive.h"
#include "console/properties/frmTftp.h"
#include "console/tests/CommandsFixture.h"
#include "console/tests/OffTheNetwork.h"

namespace consoletest {
namespace {

constexpr const char* kGetsTakenOid = "1.3.6.1.2.1.11.15.0";
constexpr int kCards = 1000;
constexpr int kKeepAliveMs = 20;
constexpr int kWaitMs = 30000;

// While it lives, each firmware dialog that comes up is handed to `act` once (which closes it).
class FirmwareDialogWatch {
  public:
    explicit FirmwareDialogWatch(std::function<void(console::frmTftp&)> act) : act_(std::move(act)) {
        poll_.setInterval(10);
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<console::frmTftp*>(QApplication::activeModalWidget());
            if (dialog != nullptr && dialog != seen_) {
                seen_ = dialog;
                ++opened_;
                act_(*dialog);
                if (dialog->isVisible()) {
                    dialog->close();
                }
            }
        });
        poll_.start();
    }
    int Opened() const { return opened_; }

  private:
    std::function<void(console::frmTftp&)> act_;
    QTimer poll_;
    console::frmTftp* seen_ = nullptr;
    int opened_ = 0;
};

class FirmwareCommandTest : public CommandsFixture {
  protected:
    void SetUp() override {
        CommandsFixture::SetUp();
        // A thousand cards answer a broadcast slowly in a sanitized build.
        plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kSnmpKey)
            ->WriteNumber("AutoDetectTimeout", 3);
    }
    std::int64_t Gets(const std::string& card) { return cards_.Number(card, kGetsTakenOid); }
};

TEST_F(FirmwareCommandTest, NoKeepAliveGoesOutWhileTheUpgradeDialogIsOpenAndItRunsAgainAfter) {
    StartCards("cards 1000 Card mac=00005E600001 ip=127.0.40.1 protocols=ip engine=external\n");
    OpenConsole();
    ASSERT_EQ(console_->List()->Model()->rowCount(), kCards);
    Select("00005E600001");
    // The keep-alive timer, on since start-up, now ticks every 20 ms: its rounds reach the last card.
    QTimer* keeper = console_->TrapKeeper();
    keeper->setInterval(kKeepAliveMs);
    const std::int64_t atStart = Gets("Card-1000");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Gets("Card-1000") > atStart; }, kWaitMs));

    // The command comes while a round is under way: it stops there, and nothing more goes out
    // while the dialog is up, through many ticks.
    console::TrapKeepAlive& keepAlive = console_->KeepAlive();
    ASSERT_TRUE(QTest::qWaitFor([&] { return keepAlive.RoundRunning(); }, kWaitMs));
    bool checked = false;
    FirmwareDialogWatch watch([&](console::frmTftp& dialog) {
        SavePicture(&dialog, "frmTftp-keep-alive");
        EXPECT_FALSE(keeper->isActive());
        EXPECT_FALSE(keepAlive.RoundRunning());
        EXPECT_LT(keepAlive.LastRoundSent(), static_cast<std::size_t>(kCards))
            << "the round in flight stopped";
        const std::int64_t first = Gets("Card-1");
        const std::int64_t last = Gets("Card-1000");
        QTest::qWait(15 * kKeepAliveMs);
        EXPECT_EQ(Gets("Card-1"), first);
        EXPECT_EQ(Gets("Card-1000"), last);
        checked = true;
    });
    FromMenu("mnuFlash");
    ASSERT_TRUE(checked) << "the firmware dialog came up";

    // Closed, the keep-alive is back as it was and reaches every print server again.
    EXPECT_TRUE(keeper->isActive());
    EXPECT_EQ(keeper->interval(), kKeepAliveMs);
    const std::int64_t afterwards = Gets("Card-1000");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Gets("Card-1000") > afterwards; }, kWaitMs));
}

TEST_F(FirmwareCommandTest, WithoutTcpIpTheCommandSaysSoAndOpensNoDialog) {
    StartCards(CardLine("Lone", "00005E610001", "127.0.41.1", "ip", 0));
    OpenConsole();
    Select("00005E610001");
    FirmwareDialogWatch watch([](console::frmTftp&) {});
    {
        const OffTheNetwork offline;
        ASSERT_TRUE(offline.Left());
        FromMenu("mnuFlash");
    }
    EXPECT_EQ(watch.Opened(), 0);
    ASSERT_FALSE(boxes_.Shown().empty());
    EXPECT_EQ(boxes_.Shown().back().text, "Firmware Upgrade: TCP/IP protocol stack is disabled");
    EXPECT_TRUE(console_->TrapKeeper()->isActive()) << "the keep-alive was not touched";
    EXPECT_TRUE(console_->Action("mnuFlash")->isEnabled());
}

}  // namespace
}  // namespace consoletest
