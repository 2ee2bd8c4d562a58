#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "simulator/JobFaults.h"
#include "simulator/JobStreamDecoder.h"

namespace sim {

// The job listener's shared state: each card's faults and the jobs it logged. Every operation may
// be called from any thread.
class JobBook {
  public:
    explicit JobBook(size_t cards) : cards_(cards) {}

    void SetFaults(size_t card, const JobFaults& faults);
    JobFaults Faults(size_t card) const;
    // True when this connection is to be answered busy (and counts one busy answer down).
    bool TakeBusy(size_t card);
    void NoteConnection(size_t card);
    // Waits while the card holds its reading; false once the book is closed.
    bool AwaitReading(size_t card) const;
    // Ends every wait: the listener stops.
    void Close();

    void Log(size_t card, JobRecord job);
    std::vector<JobRecord> Jobs(size_t card) const;
    size_t Connections(size_t card) const;
    // Waits until the card logged at least `count` jobs; false when the time ran out first.
    bool WaitForJobs(size_t card, size_t count, std::chrono::milliseconds timeout) const;

  private:
    struct CardBook {
        JobFaults faults;
        std::vector<JobRecord> jobs;
        size_t connections = 0;
    };

    mutable std::mutex mutex_;
    mutable std::condition_variable logged_;
    mutable std::condition_variable faultsChanged_;
    std::vector<CardBook> cards_;
    bool closed_ = false;
};

}  // namespace sim
