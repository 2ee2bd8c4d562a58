// The automatic refresh (Preference, every second) against a command of the main window whose dialog is
// held open, or that is held in a library wait, for several refresh periods: no detection starts until
// the command has ended, and then the refresh goes on. The ticks are observed, not slept through.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <vector>

#include "console/core/dialogs/frmPreference.h"
#include "console/tests/DetectionCount.h"
#include "console/tests/PortCommandsFixture.h"

namespace console {
namespace {

constexpr int kBoundMs = 120000;
constexpr int kPeriods = 3;  // the refresh periods a command is held through

class AutoRefreshTest : public PortCommandsFixture {
  protected:
    // Preference: automatic refresh every second. Its ticks are counted from then on, and apart those
    // that come while a library call waits (the hourglass is up).
    void SetUp() override {
        PortCommandsFixture::SetUp();
        WindowWatch preference("Preference", [](QWidget* window) {
            auto* dialog = static_cast<frmPreference*>(window);
            dialog->AutoRefresh()->setChecked(true);
            dialog->RefreshTime()->setValue(1);
            dialog->AllProtocols()->setChecked(true);
            dialog->btnOK_Click();
        });
        Command("mnuPreference")->trigger();
        ASSERT_TRUE(preference.Seen());
        ASSERT_TRUE(console_->RefreshTimer()->isActive());
        QObject::connect(console_->RefreshTimer(), &QTimer::timeout, [this] {
            ++ticks_;
            ticksInWait_ += QGuiApplication::overrideCursor() != nullptr ? 1 : 0;
        });
        boxes_.Clear();
    }

    // Keeps the dialog up until the refresh has ticked kPeriods times meanwhile, then cancels it.
    void HoldOpen(QWidget* dialog) {
        const int start = ticks_;
        EXPECT_TRUE(QTest::qWaitFor([&] { return ticks_ >= start + kPeriods; }, kBoundMs));
        static_cast<QDialog*>(dialog)->reject();
    }

    // None started while the command ran (since `before`); afterwards the refresh goes on.
    void ExpectWaitedThenResumed(int before) {
        EXPECT_EQ(detections_.Started(), before) << "a detection started inside the command";
        EXPECT_TRUE(QTest::qWaitFor([&] { return detections_.Started() > before; }, kBoundMs))
            << "the automatic refresh did not go on after the command";
    }

    consoletest::MessageRecorder boxes_;
    DetectionCount detections_;
    int ticks_ = 0;
    int ticksInWait_ = 0;
};

TEST_F(AutoRefreshTest, NoDetectionStartsWhileACommandsDialogIsOpen) {
    const struct {
        const char* command;
        const char* title;
        WindowWatch::Ready ready;
    } cases[] = {{"mnuCreatePort", "Add Port", Listed},
                 {"mnuConfigurePort", "Configure Port", Listed},
                 {"mnuLocate", "Add New Print Server", nullptr}};
    for (const auto& held : cases) {
        SCOPED_TRACE(held.command);
        const int before = detections_.Started();
        WindowWatch dialog(
            held.title, [this](QWidget* window) { HoldOpen(window); }, held.ready);
        Command(held.command)->trigger();
        ASSERT_TRUE(dialog.Seen());
        ExpectWaitedThenResumed(before);
    }
    EXPECT_TRUE(boxes_.Shown().empty()) << boxes_.Shown().front().text.toStdString();
}

// Add Port's dialog detects the print servers as it opens, and the library lets the console's timers
// run while it listens: Add Port again and again, each cancelled once listed, until the refresh has
// ticked kPeriods times inside those detections.
TEST_F(AutoRefreshTest, NoDetectionStartsInsideAddPortsOwnDetection) {
    const int before = detections_.Started();
    QElapsedTimer bound;
    bound.start();
    while (ticksInWait_ < kPeriods && bound.elapsed() < kBoundMs) {
        WindowWatch dialog(
            "Add Port", [](QWidget* window) { static_cast<QDialog*>(window)->reject(); }, Listed);
        Command("mnuCreatePort")->trigger();
        ASSERT_TRUE(dialog.Seen());
    }
    ASSERT_GE(ticksInWait_, kPeriods);
    ExpectWaitedThenResumed(before);
}

// How many detections had started when each tick of the refresh timer came, before the tick ran its
// own.
class TickLog : public QObject {
  public:
    TickLog(QTimer* timer, const DetectionCount& detections) : detections_(detections) {
        timer->installEventFilter(this);
    }
    const std::vector<int>& StartedAtTicks() const { return startedAtTicks_; }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Timer) {
            startedAtTicks_.push_back(detections_.Started());
        }
        return false;
    }

  private:
    const DetectionCount& detections_;
    std::vector<int> startedAtTicks_;
};

// A status alert is up, and no command, when the refresh ticks: the tick is kept. The person closes
// the box and runs Refresh at once, by any way: that Refresh is the one detection until the
// timer's next tick.
TEST_F(AutoRefreshTest, OneRefreshAfterAKeptTickRunsOneDetection) {
    const std::size_t card = 1;
    State().options.notifyFlags = QString(40, '1');
    PrintServerEntry* server = FindServer(QString::fromStdString(bed_->Mac(card)));
    ASSERT_NE(server, nullptr);
    server->notify = true;
    SetMessageHook({});  // the alert is a real modal box here
    const TickLog ticks(console_->RefreshTimer(), detections_);
    const struct {
        const char* way;
        std::function<void()> refresh;
        std::int32_t status;  // the card's status that raises the alert
    } ways[] = {
        {"menu", [this] { Command("mnuRefresh")->trigger(); }, 68},
        {"tool bar",
         [this] {
             auto* bar = console_->findChild<QToolBar*>("picMenuBar");
             qobject_cast<QToolButton*>(bar->widgetForAction(Command("mnuRefresh")))->click();
         },
         3},
        {"F5",
         [this] {
             QApplication::setActiveWindow(console_.get());
             QTest::keyClick(console_.get(), Qt::Key_F5);
         },
         68},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        int refreshed = -1;  // the detections that the Refresh started
        int startedAfter = 0;
        std::size_t nextTick = 0;
        WindowWatch alert(State().productTitle, [&](QWidget* box) {
            const int start = ticks_;
            EXPECT_TRUE(QTest::qWaitFor([&] { return ticks_ > start; }, kBoundMs)) << "no tick under the box";
            QTest::keyClick(box, Qt::Key_Return);
            EXPECT_FALSE(box->isVisible()) << "Enter closes the alert";
            const int before = detections_.Started();
            way.refresh();
            startedAfter = detections_.Started();
            refreshed = startedAfter - before;
            nextTick = ticks.StartedAtTicks().size();
        });
        agents_->SetStatus(card, way.status);
        ASSERT_TRUE(QTest::qWaitFor([&] { return alert.Seen() && ticks.StartedAtTicks().size() > nextTick; },
                                    kBoundMs));
        EXPECT_EQ(refreshed, 1);
        EXPECT_EQ(ticks.StartedAtTicks()[nextTick], startedAfter)
            << "the kept tick ran a detection of its own";
    }
}

}  // namespace
}  // namespace console
