// The firmware upgrade from the console, end to end: the dialog, the firmware server program and a
// simulated card that fetches its new firmware and comes back with it.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <functional>
#include <random>

#include "console/core/DeviceAccess.h"
#include "console/core/QueuePump.h"
#include "console/core/StringTable.h"
#include "console/properties/FirmwareCommand.h"
#include "console/properties/FirmwareRequests.h"
#include "console/properties/frmTftp.h"
#include "console/properties/tests/CardsFixture.h"
#include "console/tests/PressButton.h"
#include "console/tests/Typing.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "simulator/CardOids.h"

namespace consoletest {
namespace {

using console::FirmwareTargetMode;
using console::frmTftp;
using console::LoadString;

constexpr int kWaitMs = 30000;
// Past the firmware server's resends and idle time after a card falls silent (some 18 s).
constexpr int kSilentCardMs = 60000;

// Runs the Qt loop (and with it the platform's messages) until the condition holds; false after ms.
bool WaitUntil(const std::function<bool()>& condition, int ms = kWaitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

std::string StoredFlashFile() {
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kTftpKey);
    return key ? key->ReadText("FlashFile").value_or("none") : "no key";
}

void StoreFlashFile(const std::string& path, std::uint32_t asDefault) {
    const auto key = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kTftpKey);
    key->WriteText("FlashFile", path);
    key->WriteNumber("DefaultSetting", asDefault);
}

class FirmwareUpgradeTest : public CardsFixture {
  protected:
    void SetUp() override {
        CardsFixture::SetUp();
        snmp::test::WriteExchangeSettings(1, 5);
        for (console::PrintServerEntry& entry : console::State().servers) {
            entry.detected = 1;
        }
        console::SetFirmwareProgramFolder(FENDREL_FOLDER);
        ASSERT_TRUE(folder.isValid());
    }

    // A firmware file of `size` bytes that names its version first when it has room.
    QString FirmwareFile(const QString& name, int size, std::vector<std::uint8_t>& bytes) {
        std::mt19937 random(static_cast<unsigned>(size));
        bytes.resize(static_cast<std::size_t>(size));
        for (std::uint8_t& byte : bytes) {
            byte = static_cast<std::uint8_t>(random());
        }
        const std::string version = "VERSION 4." + std::to_string(size) + "\n";
        if (bytes.size() >= version.size()) {
            std::copy(version.begin(), version.end(), bytes.begin());
        }
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return path;
    }

    // Runs the Upgrade Firmware command; `drive` works the dialog while it is shown, then it closes.
    void RunCommand(FirmwareTargetMode mode, const std::function<void(frmTftp&)>& drive) {
        bool driven = false;
        QTimer shown;
        shown.setInterval(20);
        QObject::connect(&shown, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<frmTftp*>(QApplication::activeModalWidget());
            if (dialog == nullptr || driven) {
                return;
            }
            driven = true;
            drive(*dialog);
            if (dialog->isVisible()) {
                dialog->close();
            }
        });
        shown.start();
        EXPECT_TRUE(console::UpgradeFirmwareCommand(nullptr, &mnuFlash, mode));
        EXPECT_TRUE(driven);
        EXPECT_TRUE(mnuFlash.isEnabled()) << "the command is offered again once the dialog is gone";
    }

    // The status line's texts in the order they came, until the condition holds.
    std::vector<QString> WatchStatus(frmTftp& dialog, const std::function<bool()>& until, int ms = kWaitMs) {
        std::vector<QString> seen;
        const QMetaObject::Connection watch = QObject::connect(
            &dialog, &frmTftp::StatusShown, [&](const QString& text) { seen.push_back(text); });
        WaitUntil(until, ms);
        QObject::disconnect(watch);
        return seen;
    }

    std::string CardState(Card card) {
        std::string report;
        cards.Inspect(card, [&](sim::Card& target) { report = target.Upgrade().Report(); });
        return report;
    }
    std::vector<std::uint8_t> CardFile(Card card) {
        std::vector<std::uint8_t> file;
        cards.Inspect(card, [&](sim::Card& target) { file = target.Upgrade().File(); });
        return file;
    }

    console::QueuePump pump;
    QAction mnuFlash{"Upgrade Firmware"};
    QTemporaryDir folder;
};

const QString Completed() {
    return LoadString(7032);
}

TEST_F(FirmwareUpgradeTest, EveryWayToTheCardDeliversTheChosenFileWholeAndTheCardComesBackUpgraded) {
    struct Case {
        FirmwareTargetMode mode;
        Card card;
        int size;
        bool keepAsDefault;
        const char* picture;
    };
    const Case cases[] = {
        {FirmwareTargetMode::kCurrentRow, kOffice, 2 * 1024 * 1024, false, "frmTftp-list"},
        {FirmwareTargetMode::kByAddress, kCompact, 512, true, "frmTftp-address"},
        {FirmwareTargetMode::kWaitForCard, kExternal, 513, false, "frmTftp-wait"},
        {FirmwareTargetMode::kCurrentRow, kCustomPaper, 0, false, nullptr},
    };
    StoreFlashFile("/firmware/stored-default.bin", 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::vector<std::uint8_t> bytes;
        const QString path = FirmwareFile(QString("card%1.bin").arg(c.card), c.size, bytes);
        Select(c.card);
        std::vector<QString> seen;
        RunCommand(c.mode, [&](frmTftp& dialog) {
            if (c.picture != nullptr) {
                SavePicture(&dialog, c.picture);
            }
            dialog.FileNameBox()->setText(path);
            dialog.DefaultBox()->setChecked(c.keepAsDefault);
            if (c.mode == FirmwareTargetMode::kByAddress) {
                dialog.IpBox(1)->clear();  // taken as 0 once checked
            }
            dialog.StartButton()->click();
            EXPECT_FALSE(dialog.StartButton()->isEnabled());
            EXPECT_EQ(StoredFlashFile(), path.toStdString()) << "named before any transfer";
            if (c.mode == FirmwareTargetMode::kWaitForCard) {
                SavePicture(&dialog, "frmTftp-waiting");
                cards.Inspect(c.card, [&](sim::Card& card) {
                    card.Objects().Put(sim::DownloadServer, sim::MibValue::Ip({127, 0, 0, 1}));
                    card.Objects().Put(sim::DownloadFile, sim::MibValue::Text(path.toStdString()));
                });
                ASSERT_TRUE(cards.StartUpgrade(c.card));
            }
            bool pictured = c.size < 1024 * 1024;
            seen = WatchStatus(dialog, [&] {
                if (!pictured && dialog.Progress()->value() > 5 && dialog.Progress()->value() < 95) {
                    pictured = true;
                    SavePicture(&dialog, "frmTftp-progress");
                }
                return dialog.StatusLine()->text() == Completed();
            });
            EXPECT_EQ(dialog.StartButton()->text(), LoadString(7009));
            EXPECT_TRUE(dialog.StartButton()->isEnabled());
            EXPECT_FALSE(dialog.CancelButton()->isEnabled());
            EXPECT_EQ(dialog.Progress()->value(), 100);
            if (c.card == kOffice) {
                SavePicture(&dialog, "frmTftp-completed");
            }
            dialog.StartButton()->click();  // "OK" closes the dialog
        });
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back(), Completed());
        EXPECT_NE(std::find(seen.begin(), seen.end(), LoadString(7030)), seen.end()) << "request received";
        const bool progressShown = std::any_of(
            seen.begin(), seen.end(), [](const QString& text) { return text.startsWith(LoadString(7031)); });
        EXPECT_EQ(progressShown, c.size > 0) << "an empty file has no progress to show";
        EXPECT_TRUE(WaitUntil([&] { return CardState(c.card).starts_with("done"); })) << CardState(c.card);
        EXPECT_EQ(CardFile(c.card), bytes) << "byte for byte";
        QString version;
        EXPECT_EQ(console::GetObjects(kCards[c.card].mac, QString::fromStdString(E + ".1.1.2.0"), version, 2),
                  0);
        EXPECT_EQ(version, c.size > 0 ? QString("4.%1").arg(c.size) : QString("build 00000000"));
        EXPECT_EQ(StoredFlashFile(), c.keepAsDefault ? path.toStdString() : "/firmware/stored-default.bin");
        if (c.keepAsDefault) {
            StoreFlashFile("/firmware/stored-default.bin", 0);
        }
    }
    EXPECT_EQ(boxes.Shown().size(), 1u) << "only wait mode's front panel note";
}

// The address as a person types it, with its dots, reaches the card named by it, whether Start is
// pressed by Enter in the address (it is the default button) or by the mouse.
TEST_F(FirmwareUpgradeTest, AnAddressTypedWithItsDotsIsTheCardUpgraded) {
    struct Case {
        Press press;
        const char* address;
        Card card;
    };
    const Case cases[] = {{Press::kEnter, "127.0.6.2", kCompact}, {Press::kMouse, "127.0.6.4", kCustomPaper}};
    const std::string untouched = CardState(kOffice);
    for (const Case& typed : cases) {
        const Press press = typed.press;
        const char* const address = typed.address;
        const Card card = typed.card;
        std::vector<std::uint8_t> bytes;
        const QString path = FirmwareFile(QString("typed-%1.bin").arg(PressName(press)), 700, bytes);
        Select(kOffice);
        RunCommand(FirmwareTargetMode::kCurrentRow, [&](frmTftp& dialog) {
            dialog.FileNameBox()->setText(path);
            dialog.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            dialog.IpOption()->click();
            dialog.IpBox(0)->setFocus();
            TypeAtFocus(address);
            SavePicture(&dialog, "frmTftp-typed");
            PressButton(dialog.StartButton(), press);
            EXPECT_TRUE(WaitUntil([&] { return dialog.StatusLine()->text() == Completed(); }))
                << CardState(card) << " " << dialog.StatusLine()->text().toStdString();
        });
        EXPECT_TRUE(WaitUntil([&] { return CardState(card).starts_with("done"); }))
            << PressName(press) << ": " << CardState(card);
        EXPECT_EQ(CardFile(card), bytes) << PressName(press);
        EXPECT_EQ(CardState(kOffice), untouched) << "the chosen row's card is not upgraded";
    }
}

TEST_F(FirmwareUpgradeTest, ATransferLosingOneDatagramInTenStillCompletes) {
    std::vector<std::uint8_t> bytes;
    const QString path = FirmwareFile("lossy.bin", 40 * 1024, bytes);
    cards.SetUpgradeFaults(kCompact, {.lossRate = 0.1});
    Select(kCompact);
    RunCommand(FirmwareTargetMode::kCurrentRow, [&](frmTftp& dialog) {
        dialog.FileNameBox()->setText(path);
        dialog.StartButton()->click();
        EXPECT_TRUE(WaitUntil([&] { return dialog.StatusLine()->text() == Completed(); }, 60000))
            << CardState(kCompact) << " " << dialog.StatusLine()->text().toStdString();
    });
    EXPECT_TRUE(WaitUntil([&] { return CardState(kCompact).starts_with("done"); })) << CardState(kCompact);
    EXPECT_EQ(CardFile(kCompact), bytes);
}

TEST_F(FirmwareUpgradeTest, ALostLastAcknowledgementIsNoFailureButSilenceHalfWayIs) {
    struct Case {
        sim::UpgradeFaults faults;
        bool cardHasTheFile;
        const char* picture;
    };
    const Case cases[] = {
        {{.dropsLastAck = true}, true, "frmTftp-unconfirmed"},
        {{.vanishAfter = 20}, false, nullptr},
    };
    Select(kCompact);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cardHasTheFile ? "last acknowledgement lost" : "silent half-way");
        std::vector<std::uint8_t> bytes;
        const QString path = FirmwareFile("silent.bin", 40 * 1024, bytes);
        cards.SetUpgradeFaults(kCompact, c.faults);
        boxes.Clear();
        std::vector<QString> seen;
        RunCommand(FirmwareTargetMode::kCurrentRow, [&](frmTftp& dialog) {
            dialog.FileNameBox()->setText(path);
            dialog.StartButton()->click();
            seen = WatchStatus(
                dialog, [&] { return !dialog.isVisible() || dialog.StartButton()->isEnabled(); },
                kSilentCardMs);
            if (!c.cardHasTheFile) {
                return;
            }
            ASSERT_TRUE(dialog.isVisible()) << "the dialog gave up";
            EXPECT_EQ(dialog.StatusLine()->text(), LoadString(7053));
            EXPECT_EQ(dialog.StartButton()->text(), LoadString(7009));
            EXPECT_FALSE(dialog.CancelButton()->isEnabled());
            EXPECT_EQ(dialog.Progress()->value(), 100);
            // The server has ended, as it does after reporting this: the dialog does not go on to
            // call it a server that is not running.
            EXPECT_TRUE(WaitUntil([] { return !plat::IsWindow(console::State().firmwareWindow); }));
            EXPECT_FALSE(dialog.ServerCheck()->isActive());
            SavePicture(&dialog, c.picture);
            dialog.StartButton()->click();
        });
        EXPECT_EQ(std::count(seen.begin(), seen.end(), Completed()), 0);
        if (c.cardHasTheFile) {
            EXPECT_TRUE(boxes.Shown().empty()) << boxes.Shown()[0].text.toStdString();
            EXPECT_TRUE(WaitUntil([&] { return CardState(kCompact).starts_with("done"); }))
                << CardState(kCompact);
            EXPECT_EQ(CardFile(kCompact), bytes);
        } else {
            EXPECT_EQ(std::count(seen.begin(), seen.end(), LoadString(7053)), 0);
            ASSERT_EQ(boxes.Shown().size(), 1u);
            EXPECT_EQ(boxes.Shown()[0].text, LoadString(7040));
            EXPECT_TRUE(WaitUntil([&] { return CardState(kCompact).starts_with("failed"); }))
                << CardState(kCompact);
        }
    }
}

TEST_F(FirmwareUpgradeTest, CancelInTheMiddleStopsTheTransferAndSaysSo) {
    std::vector<std::uint8_t> bytes;
    const QString path = FirmwareFile("big.bin", 8 * 1024 * 1024, bytes);
    cards.SetUpgradeFaults(kOffice, {.lossRate = 0.01});
    Select(kOffice);
    QString after;
    RunCommand(FirmwareTargetMode::kCurrentRow, [&](frmTftp& dialog) {
        dialog.FileNameBox()->setText(path);
        dialog.StartButton()->click();
        ASSERT_TRUE(WaitUntil([&] { return dialog.Progress()->value() > 0; }));
        dialog.CancelButton()->click();
        EXPECT_FALSE(dialog.isVisible());
        after = dialog.StatusLine()->text();
        // What the server still reports while it ends is not taken as this dialog's.
        dialog.Form_MouseDown(1028, 0);
        EXPECT_NE(dialog.StatusLine()->text(), Completed());
    });
    EXPECT_EQ(after, LoadString(7052));
    EXPECT_TRUE(WaitUntil([&] { return CardState(kOffice).starts_with("failed"); })) << CardState(kOffice);
    EXPECT_LT(CardFile(kOffice).size(), bytes.size());
}

TEST_F(FirmwareUpgradeTest, ChecksBeforeSendingResetTheDialogWithTheirMessage) {
    std::vector<std::uint8_t> bytes;
    const QString file = FirmwareFile("small.bin", 600, bytes);
    // A path the dialog takes (100 characters at most) that is too long in bytes for the card.
    QString longName;
    for (int i = 0; i < 99 - folder.path().size(); ++i) {
        longName += QChar(0x00E9);
    }
    const QString refusedPath = FirmwareFile(longName, 600, bytes);
    ASSERT_LE(refusedPath.size(), 100);
    ASSERT_GT(refusedPath.toUtf8().size(), 127);
    struct Case {
        FirmwareTargetMode mode;
        QString path;
        QStringList address;
        int message;
    };
    const Case cases[] = {
        {FirmwareTargetMode::kCurrentRow, refusedPath, {}, 7049},
        {FirmwareTargetMode::kCurrentRow, folder.filePath("missing.bin"), {}, 32102},
        {FirmwareTargetMode::kCurrentRow, "", {}, 7047},
        {FirmwareTargetMode::kByAddress, file, {"0", "0", "0", "0"}, 7048},
        {FirmwareTargetMode::kByAddress, file, {"10", "300", "0", "5"}, 12008},
    };
    Select(kOffice);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        boxes.Clear();
        RunCommand(c.mode, [&](frmTftp& dialog) {
            dialog.FileNameBox()->setText(c.path);
            for (int i = 0; i < c.address.size(); ++i) {
                dialog.IpBox(i)->setText(c.address[i]);
            }
            dialog.StartButton()->click();
            EXPECT_TRUE(dialog.StartButton()->isEnabled()) << "back to ready";
            EXPECT_TRUE(dialog.FileNameBox()->isEnabled());
            if (c.message == 7048) {
                SavePicture(&dialog, "frmTftp-ready");
            }
        });
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_TRUE(boxes.Shown()[0].text.startsWith(LoadString(c.message)));
        EXPECT_EQ(CardState(kOffice).substr(0, 4), "idle") << "nothing was started";
    }
}

TEST_F(FirmwareUpgradeTest, TheDownloadRequestCountsThePathInBytes) {
    const console::DownloadRequest request =
        console::DownloadObjectsRequest("10.1.2.3", QString("/f\u00e9.bin").toUtf8());
    EXPECT_EQ(request.valueText, QByteArray("1,2,1,1,3,10.1.2.3,2,8,/f\xc3\xa9.bin,1,2"));
    EXPECT_EQ(console::DownloadObjectsRequest("10.1.2.3", "").valueText,
              QByteArray("1,2,1,1,3,10.1.2.3,2,0,,1,2"));
}

}  // namespace
}  // namespace consoletest
