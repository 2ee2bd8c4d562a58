#pragma once

#include <cstddef>
#include <string>

#include "portmonitor/tests/CardBed.h"
#include "portmonitor/tests/PrivateCupsd.h"

namespace portmon::test {

// A job that a stalled card holds under way: the card reads nothing and the monitor's link waits
// long, so the spooler shows the job printing until it goes. Its end cancels it and gives the card
// and the monitor's waits back as they were.
class HeldJob {
  public:
    HeldJob(CardBed& bed, PrivateCupsd& cupsd, std::size_t card, const std::string& queue);
    ~HeldJob();
    HeldJob(const HeldJob&) = delete;
    HeldJob& operator=(const HeldJob&) = delete;

    // True once the job prints: the spooler has it under way and its backend reached the card.
    bool Printing() const { return printing_; }
    int Id() const { return job_; }

  private:
    CardBed& bed_;
    PrivateCupsd& cupsd_;
    std::size_t card_;
    int job_ = 0;
    bool printing_ = false;
};

}  // namespace portmon::test
