#include "console/core/QueuePump.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include "console/core/BusyScope.h"
#include "platform/window/Window.h"

namespace console {

namespace {

constexpr std::uint32_t kPaintEveryMs = 20;
QueuePump* gPump = nullptr;  // the console's one pump

}  // namespace

QueuePump::QueuePump(QObject* parent)
    : QObject(parent), notifier_(new QSocketNotifier(plat::QueueFd(), QSocketNotifier::Read, this)) {
    connect(notifier_, &QSocketNotifier::activated, this, [] { DispatchWaiting(); });
    plat::SetIdleHook([this] { WhileLibraryWaits(); });
    gPump = this;
}

QueuePump::~QueuePump() {
    plat::SetIdleHook({});
    gPump = nullptr;
}

void QueuePump::KeepPainted() {
    if (gPump != nullptr && plat::TickCount() - gPump->lastPaintMs_ >= kPaintEveryMs) {
        gPump->WhileLibraryWaits();
    }
}

void QueuePump::DispatchWaiting() {
    plat::Message message;
    while (plat::PeekMessage(message, true)) {
        plat::DispatchMessage(message);
    }
}

// The library is pumping its own messages: Qt paints and runs its timers meanwhile, but user input
// waits, and the queue is left to the library. Whatever waits is work under way.
void QueuePump::WhileLibraryWaits() {
    const BusyScope waiting;
    notifier_->setEnabled(false);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    notifier_->setEnabled(true);
    lastPaintMs_ = plat::TickCount();
}

}  // namespace console
