#pragma once

#include <cstdint>

namespace sim {

// What goes wrong with a card's job listener; every switch off by default.
struct JobFaults {
    uint32_t busyAnswers = 0;      // the next N connections are answered busy
    bool refuseConnects = false;   // nothing listens: connects are refused
    uint32_t readyDelayMs = 0;     // the ready byte leaves this much later
    bool stopReading = false;      // the card reads nothing of a job (small receive buffer)
    uint64_t resetAfterBytes = 0;  // not 0: the connection is reset once this many bytes arrived
    bool noAnswer = false;         // no answer byte after the end of a job
    uint32_t receiverBusyMs = 0;   // DLC: the link station is busy this long when a job starts

    bool operator==(const JobFaults&) const = default;
};

}  // namespace sim
