#include "console/core/DeviceWorkers.h"

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "console/core/QueuePump.h"

namespace console {

namespace {

// Enough exchanges in flight for a site of ten thousand print servers (a simulator of them all on
// one thread answers no faster with more), few enough that silent print servers do not take a
// thread each.
constexpr std::size_t kWorkers = 16;
constexpr auto kPaintCheck = std::chrono::milliseconds(10);

// The items of one lane, taken in turn by the threads that work it.
class Lane {
  public:
    explicit Lane(std::vector<std::size_t> items) : items_(std::move(items)) {}
    bool Empty() const { return items_.empty(); }
    std::optional<std::size_t> Next() {
        const std::size_t taken = next_++;
        return taken < items_.size() ? std::optional<std::size_t>(items_[taken]) : std::nullopt;
    }

  private:
    std::vector<std::size_t> items_;
    std::atomic<std::size_t> next_{0};
};

// The shared state of one run: which items are done, and the first failure.
class Run {
  public:
    explicit Run(std::size_t count) : done_(new bool[count]()) {}

    // A worker's loop: the lane's next item, until there is none or the run stops.
    void Work(Lane& lane, const std::function<void(std::size_t)>& work) {
        for (std::optional<std::size_t> i = lane.Next(); i && !stop_; i = lane.Next()) {
            try {
                work(*i);
            } catch (...) {
                Fail(std::current_exception());
            }
            {
                const std::lock_guard lock(mutex_);
                done_[*i] = true;
            }
            changed_.notify_one();
        }
    }

    // Waits a little for item i; true once it is done.
    bool WaitFor(std::size_t i) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPaintCheck, [&] { return done_[i]; });
    }

    void Stop() { stop_ = true; }
    std::exception_ptr Failure() {
        const std::lock_guard lock(mutex_);
        return failure_;
    }

  private:
    void Fail(std::exception_ptr failure) {
        const std::lock_guard lock(mutex_);
        if (!failure_) {
            failure_ = failure;
        }
        stop_ = true;
    }

    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::unique_ptr<bool[]> done_;
    std::exception_ptr failure_;
};

// The workers stop and are joined on every way out, an exception from done included.
class Workers {
  public:
    explicit Workers(Run& run) : run_(run) {}
    ~Workers() {
        run_.Stop();
        for (std::thread& thread : threads_) {
            thread.join();
        }
    }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    void Start(Lane& lane, std::size_t threads, std::function<void(std::size_t)> work) {
        for (std::size_t t = 0; t < threads && !lane.Empty(); ++t) {
            threads_.emplace_back([this, &lane, work] {
                pthread_setname_np(pthread_self(), "device work");
                run_.Work(lane, work);
            });
        }
    }

  private:
    Run& run_;
    std::vector<std::thread> threads_;
};

}  // namespace

void ForEachOnWorkers(std::size_t count, const std::function<void(std::size_t)>& work,
                      const std::function<void(std::size_t)>& done,
                      const std::function<bool(std::size_t)>& alone) {
    std::vector<std::size_t> together;
    std::vector<std::size_t> oneByOne;
    for (std::size_t i = 0; i < count; ++i) {
        (alone(i) ? oneByOne : together).push_back(i);
    }
    Lane shared(std::move(together));
    Lane single(std::move(oneByOne));
    Run run(count);
    {
        Workers workers(run);
        workers.Start(shared, kWorkers, work);
        workers.Start(single, 1, work);
        for (std::size_t i = 0; i < count && !run.Failure();) {
            // A failed item is marked done after its failure is known: it is never taken.
            if (run.WaitFor(i) && !run.Failure()) {
                done(i++);
            }
            QueuePump::KeepPainted();
        }
    }
    if (const std::exception_ptr failure = run.Failure()) {
        std::rethrow_exception(failure);
    }
}

}  // namespace console
