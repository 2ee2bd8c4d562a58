#include "simulator/JobBook.h"

namespace sim {

void JobBook::SetFaults(size_t card, const JobFaults& faults) {
    {
        std::lock_guard lock(mutex_);
        cards_.at(card).faults = faults;
    }
    faultsChanged_.notify_all();
}

bool JobBook::AwaitReading(size_t card) const {
    std::unique_lock lock(mutex_);
    faultsChanged_.wait(lock, [&] { return closed_ || !cards_.at(card).faults.holdReading; });
    return !closed_;
}

void JobBook::Close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    faultsChanged_.notify_all();
}

JobFaults JobBook::Faults(size_t card) const {
    std::lock_guard lock(mutex_);
    return cards_.at(card).faults;
}

bool JobBook::TakeBusy(size_t card) {
    std::lock_guard lock(mutex_);
    uint32_t& busy = cards_.at(card).faults.busyAnswers;
    if (busy == 0) {
        return false;
    }
    --busy;
    return true;
}

void JobBook::NoteConnection(size_t card) {
    std::lock_guard lock(mutex_);
    ++cards_.at(card).connections;
}

void JobBook::Log(size_t card, JobRecord job) {
    {
        std::lock_guard lock(mutex_);
        cards_.at(card).jobs.push_back(std::move(job));
    }
    logged_.notify_all();
}

std::vector<JobRecord> JobBook::Jobs(size_t card) const {
    std::lock_guard lock(mutex_);
    return cards_.at(card).jobs;
}

size_t JobBook::Connections(size_t card) const {
    std::lock_guard lock(mutex_);
    return cards_.at(card).connections;
}

bool JobBook::WaitForJobs(size_t card, size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return logged_.wait_for(lock, timeout, [&] { return cards_.at(card).jobs.size() >= count; });
}

}  // namespace sim
