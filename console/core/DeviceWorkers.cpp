#include "console/core/DeviceWorkers.h"

#include <pthread.h>

#include <chrono>

#include "console/core/QueuePump.h"

namespace console {

namespace {

// Enough exchanges in flight for a site of ten thousand print servers, few enough that silent print
// servers do not take a thread each.
constexpr std::size_t kWorkers = 16;
constexpr auto kPaintCheck = std::chrono::milliseconds(10);

}  // namespace

DeviceWork::DeviceWork(std::function<void(std::size_t)> work)
    : work_(std::move(work)), together_{kWorkers, {}, {}, 0, {}}, oneByOne_{1, {}, {}, 0, {}} {}

DeviceWork::~DeviceWork() {
    Stop();
}

// A lane has a thread for each item added, up to its most.
void DeviceWork::Add(bool alone) {
    Lane& lane = alone ? oneByOne_ : together_;
    {
        const std::lock_guard lock(mutex_);
        lane.items.push_back(done_.size());
        done_.push_back(false);
    }
    if (lane.threads.size() < lane.most && lane.threads.size() < lane.items.size()) {
        lane.threads.emplace_back([this, &lane] {
            pthread_setname_np(pthread_self(), "device work");
            Work(lane);
        });
    }
    lane.added.notify_one();
}

// A worker's loop: the lane's next item, until there is none left after Finish, or the work stops.
// The waiting thread is woken only when the last item is done or one failed: otherwise it takes what
// is done every kPaintCheck, as it paints, rather than being woken for each of thousands of items.
void DeviceWork::Work(Lane& lane) {
    for (;;) {
        std::size_t i = 0;
        {
            std::unique_lock lock(mutex_);
            lane.added.wait(lock, [&] { return stop_ || closed_ || lane.next < lane.items.size(); });
            if (stop_ || lane.next == lane.items.size()) {
                return;
            }
            i = lane.items[lane.next++];
        }
        std::exception_ptr failed;
        try {
            work_(i);
        } catch (...) {
            failed = std::current_exception();
        }
        bool wake = false;
        {
            const std::lock_guard lock(mutex_);
            // A failed item is marked done with its failure known: it is never taken.
            failure_ = failure_ ? failure_ : failed;
            stop_ = stop_ || failed;
            done_[i] = true;
            ++doneCount_;
            wake = failed || (closed_ && doneCount_ == done_.size());
        }
        if (wake) {
            changed_.notify_one();
        }
        if (failed) {
            together_.added.notify_all();
            oneByOne_.added.notify_all();
        }
    }
}

bool DeviceWork::WaitFor(std::size_t i) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, kPaintCheck, [&] { return done_[i] || failure_; });
    return done_[i];
}

bool DeviceWork::Failed() {
    const std::lock_guard lock(mutex_);
    return failure_ != nullptr;
}

void DeviceWork::Finish(const std::function<void(std::size_t)>& done) {
    std::size_t count = 0;
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
        count = done_.size();
    }
    together_.added.notify_all();
    oneByOne_.added.notify_all();
    for (std::size_t i = 0; i < count && !Failed();) {
        if (WaitFor(i) && !Failed()) {
            done(i++);
        }
        QueuePump::KeepPainted();
    }
    Stop();
    if (failure_) {
        std::rethrow_exception(failure_);
    }
}

void DeviceWork::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    for (Lane* lane : {&together_, &oneByOne_}) {
        lane->added.notify_all();
        for (std::thread& thread : lane->threads) {
            thread.join();
        }
        lane->threads.clear();
    }
}

}  // namespace console
