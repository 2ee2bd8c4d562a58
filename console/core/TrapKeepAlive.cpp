#include "console/core/TrapKeepAlive.h"

#include <QElapsedTimer>
#include <QTimer>

#include "console/core/ConsoleState.h"
#include "console/core/Libraries.h"

namespace console {

namespace {

constexpr int kKeepAliveMs = 60000;
constexpr qint64 kSliceNs = 10 * 1000 * 1000;  // a slice's share of the thread before a painting
TrapKeepAlive* gKeepAlive = nullptr;           // the console's one

}  // namespace

TrapKeepAlive::TrapKeepAlive(QObject* parent)
    : QObject(parent), timer_(new QTimer(this)), slices_(new QTimer(this)) {
    timer_->setObjectName("tmrTrapKeeper");
    timer_->setInterval(kKeepAliveMs);
    connect(timer_, &QTimer::timeout, this, &TrapKeepAlive::StartRound);
    slices_->setInterval(0);
    connect(slices_, &QTimer::timeout, this, &TrapKeepAlive::SendSlice);
    gKeepAlive = this;
}

TrapKeepAlive::~TrapKeepAlive() {
    if (gKeepAlive == this) {
        gKeepAlive = nullptr;
    }
}

void TrapKeepAlive::StartRound() {
    if (suspensions_ > 0 || RoundRunning()) {
        return;
    }
    round_.clear();
    next_ = 0;
    for (const PrintServerEntry& entry : State().servers) {
        if (entry.detected == 1) {
            round_.push_back(entry.mac.toLatin1());
        }
    }
    SendSlice();
}

// Keep-alives do not wait for an answer: a slice sends until its time is up, then lets the window
// paint before the next.
void TrapKeepAlive::SendSlice() {
    QElapsedTimer slice;
    slice.start();
    while (RoundRunning() && slice.nsecsElapsed() < kSliceNs) {
        vantorel::HelperTrapKeepAlive(round_[next_++].constData());
    }
    if (RoundRunning()) {
        slices_->start();
    } else {
        slices_->stop();
    }
}

void TrapKeepAlive::Suspend() {
    if (suspensions_++ > 0) {
        return;
    }
    timerWasOn_ = timer_->isActive();
    timer_->stop();
    slices_->stop();
    round_.resize(next_);  // what was sent stays counted; the rest is not sent
}

void TrapKeepAlive::Resume() {
    if (--suspensions_ == 0 && timerWasOn_) {
        timer_->start();
    }
}

KeepAliveSuspension::KeepAliveSuspension() : keepAlive_(gKeepAlive) {
    if (keepAlive_ != nullptr) {
        keepAlive_->Suspend();
    }
}

KeepAliveSuspension::~KeepAliveSuspension() {
    if (keepAlive_ != nullptr && keepAlive_ == gKeepAlive) {
        keepAlive_->Resume();
    }
}

}  // namespace console
