#pragma once

#include <cstdint>

// The rounds of one scan or listing of the client. Whichever station answers the client's broadcast
// answers every round, and one that never ends its scan (the same iterator again, or more entries
// than any server or tree holds) must not keep the library going round for ever.
class ScanRounds {
  public:
    // No server, tree or printer holds more entries, nor a listing more passes.
    static constexpr int kMostRounds = 1024;

    // Counts a round; false once there were more than kMostRounds.
    bool Another() { return ++rounds_ <= kMostRounds; }
    // Counts a round that was sent the iterator `sent` and answered `next`: false when the iterator
    // did not move on, or there were too many rounds.
    bool Advanced(std::int32_t sent, std::int32_t next) { return next != sent && Another(); }

  private:
    int rounds_ = 0;
};
