#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Work with many print servers at once: each exchange blocks its thread until the print server
// answers or the library gives up, so the console's thread hands them to threads of their own and
// takes the results in the order the work was given.
namespace console {

// Items are added one by one and worked on a few worker threads as soon as they are added, while the
// console's thread may still be listing them; Finish then takes them in order. The items added as
// alone are worked one after another on one thread, never beside each other (exchanges that may go
// over DLC: the process has one SAP for them). work must not touch the console's tables; done may.
class DeviceWork {
  public:
    explicit DeviceWork(std::function<void(std::size_t)> work);
    // The workers stop and are joined on every way out.
    ~DeviceWork();
    DeviceWork(const DeviceWork&) = delete;
    DeviceWork& operator=(const DeviceWork&) = delete;

    // The next item, numbered from 0 in the order added.
    void Add(bool alone);
    // No item comes after: runs done(i) on the calling thread for each item in order, as soon as its
    // work and all before it are done, keeping the window painted while it waits. An exception from
    // work reaches the caller once every thread has stopped; nothing after the failed item is done.
    void Finish(const std::function<void(std::size_t)>& done);

  private:
    // The items of one lane, taken in turn by the threads that work it.
    struct Lane {
        std::size_t most;               // threads
        std::condition_variable added;  // an item to take, or the end
        std::vector<std::size_t> items;
        std::size_t next = 0;
        std::vector<std::thread> threads;
    };

    void Work(Lane& lane);
    bool Failed();
    // Waits a little for item i; true once it is done.
    bool WaitFor(std::size_t i);
    void Stop();

    std::function<void(std::size_t)> work_;
    std::mutex mutex_;
    std::condition_variable changed_;  // the last item done, or a failure
    Lane together_;
    Lane oneByOne_;
    std::deque<bool> done_;
    std::size_t doneCount_ = 0;
    bool closed_ = false;
    bool stop_ = false;
    std::exception_ptr failure_;
};

}  // namespace console
