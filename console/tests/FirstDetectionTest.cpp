// The program's start while the splash is still up: a command opened then has no detection inside
// it (the detection would rebuild the tables under the command, or, inside Add Port's own detection,
// be refused); the first detection runs right after it, once, and no refresh tick comes before it.
#include <QApplication>
#include <QPointer>
#include <QTest>

#include <optional>
#include <string>

#include "console/core/DisplayOptions.h"
#include "console/core/frmBanner.h"
#include "console/tests/DetectionCount.h"
#include "console/tests/PortCommandsFixture.h"
#include "platform/store/StorePaths.h"

namespace console {
namespace {

constexpr int kBoundMs = 120000;

class FirstDetectionTest : public PortCommandsFixture {
  protected:
    // The console as the program starts it anew, with the options stored or those of a fresh
    // store: its splash is up and no detection has run.
    void Restart(const std::optional<DisplayOptions>& stored = std::nullopt) {
        consoletest::CloseConsole(console_);
        plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kDisplayKey);
        if (stored) {
            plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kDisplayKey)
                ->WriteText("Options", BuildDisplayOptions(*stored).toStdString());
        }
        ASSERT_NO_FATAL_FAILURE(StartConsole());
    }

    consoletest::MessageRecorder boxes_;
    DetectionCount detections_;
};

// Keeps a command's dialog up until the splash has gone and what its going set off has had its turn.
void HoldPastSplash(const QPointer<QWidget>& banner, QWidget* dialog) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return banner == nullptr || !banner->isVisible(); }, kBoundMs))
        << "the splash stayed";
    bool turn = false;
    const QObject context;
    QTimer::singleShot(0, &context, [&] { turn = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return turn; }, kBoundMs));
    static_cast<QDialog*>(dialog)->reject();
}

// The command is opened from the main window, made the active window by the person's click on it;
// or while the splash is still the active window, whose box or dialog opened then belongs to the
// splash and must outlive its closing.
TEST_F(FirstDetectionTest, ACommandOpenedBeforeTheSplashClosesHasNoDetectionInsideIt) {
    const struct {
        const char* command;
        const char* title;
        WindowWatch::Ready ready;
        bool splashActive;
    } cases[] = {{"mnuCreatePort", "Add Port", Listed, false},
                 {"mnuCreatePort", "Add Port", Listed, true},
                 {"mnuLocate", "Add New Print Server", nullptr, false},
                 {"mnuPreference", "Preference", nullptr, false},
                 {"mnuFilter2", "Printer Filter", nullptr, false}};
    for (const auto& opened : cases) {
        SCOPED_TRACE(std::string(opened.command) + (opened.splashActive ? ", the splash active" : ""));
        ASSERT_NO_FATAL_FAILURE(Restart());
        const QPointer<QWidget> banner = console_->findChild<frmBanner*>();
        ASSERT_NE(banner, nullptr);
        QWidget* active = opened.splashActive ? banner.data() : console_.get();
        QApplication::setActiveWindow(active);
        ASSERT_EQ(QApplication::activeWindow(), active);
        bool started = false;
        console_->FirstDetectionAfterSplash([&] { started = true; });
        WindowWatch dialog(
            opened.title, [&](QWidget* window) { HoldPastSplash(banner, window); }, opened.ready);
        const int before = detections_.Started();
        Command(opened.command)->trigger();
        ASSERT_TRUE(dialog.Seen());
        EXPECT_EQ(detections_.Started(), before) << "a detection ran inside the command";
        ASSERT_TRUE(QTest::qWaitFor([&] { return started; }, kBoundMs)) << "the start did not go on";
        EXPECT_EQ(detections_.Started(), before + 1);
        EXPECT_EQ(State().rows.size(), kCards) << "the first detection listed every card";
        EXPECT_TRUE(boxes_.Shown().empty()) << boxes_.Shown().front().text.toStdString();
        boxes_.Clear();
    }
}

// F5 while the splash is up: that Refresh is the first detection, and the start adds none of its own.
TEST_F(FirstDetectionTest, ARefreshWhileTheSplashIsUpIsTheFirstDetection) {
    ASSERT_NO_FATAL_FAILURE(Restart());
    ASSERT_NE(console_->findChild<frmBanner*>(), nullptr);
    bool started = false;
    console_->FirstDetectionAfterSplash([&] { started = true; });
    const int before = detections_.Started();
    QApplication::setActiveWindow(console_.get());
    QTest::keyClick(console_.get(), Qt::Key_F5);
    EXPECT_EQ(detections_.Started(), before + 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return started; }, kBoundMs)) << "the start did not go on";
    EXPECT_EQ(detections_.Started(), before + 1) << "the start ran a detection of its own";
    EXPECT_EQ(State().rows.size(), kCards);
    EXPECT_TRUE(boxes_.Shown().empty()) << boxes_.Shown().front().text.toStdString();
}

// Automatic refresh every second, stored: its first tick comes only after the first detection.
TEST_F(FirstDetectionTest, NoRefreshTickRunsADetectionWhileTheSplashIsUp) {
    DisplayOptions options;
    options.autoRefresh = 1;
    options.refreshSeconds = 1;
    ASSERT_NO_FATAL_FAILURE(Restart(options));
    const auto* banner = console_->findChild<frmBanner*>();
    ASSERT_NE(banner, nullptr);
    const int before = detections_.Started();
    int atSplashEnd = -1;
    QObject::connect(banner, &QObject::destroyed, [&] { atSplashEnd = detections_.Started(); });
    bool started = false;
    console_->FirstDetectionAfterSplash([&] { started = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return started; }, kBoundMs)) << "the start did not go on";
    EXPECT_EQ(atSplashEnd, before) << "a tick ran a detection while the splash was up";
    EXPECT_EQ(detections_.Started(), before + 1);
    EXPECT_TRUE(console_->RefreshTimer()->isActive());
    EXPECT_EQ(console_->RefreshTimer()->interval(), 1000);
}

}  // namespace
}  // namespace console
