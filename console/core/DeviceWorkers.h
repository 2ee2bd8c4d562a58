#pragma once

#include <cstddef>
#include <functional>

// Work with many print servers at once: each exchange blocks its thread until the print server
// answers or the library gives up, so the console's thread hands them to threads of their own and
// takes the results in the order the work was given.
namespace console {

// Runs work(i) for every i below count on a few worker threads, and done(i) on the calling thread
// for each i in order, as soon as its work and all before it are done. The calling thread keeps the
// window painted while it waits. The items for which alone(i) holds are worked one after another on
// one thread, never beside each other (exchanges that may go over DLC: the process has one SAP for
// them). work must not touch the console's tables; done may. An exception from work reaches the
// caller once every thread has stopped.
void ForEachOnWorkers(std::size_t count, const std::function<void(std::size_t)>& work,
                      const std::function<void(std::size_t)>& done,
                      const std::function<bool(std::size_t)>& alone);

}  // namespace console
