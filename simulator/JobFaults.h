#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace sim {

// How a card that drops a job's connection ends it.
enum class JobDrop : uint8_t {
    None,
    Close,  // an orderly close (TCP: FIN)
    Reset,  // an abrupt one (TCP: RST)
};

// What goes wrong with a card's job listener; every switch off by default.
struct JobFaults {
    uint32_t busyAnswers = 0;      // the next N connections are answered busy
    bool refuseConnects = false;   // nothing listens: connects are refused
    uint32_t readyDelayMs = 0;     // the ready byte leaves this much later
    bool stopReading = false;      // the card reads nothing of a job (small receive buffer)
    bool holdReading = false;      // the card takes no byte while set (out of paper) and goes on after
    JobDrop drop = JobDrop::None;  // the card ends the connection once dropAfterBytes bytes of the job
    uint64_t dropAfterBytes = 0;   // came (0: right after the ready byte), answer byte or not
    bool noAnswer = false;         // no answer byte after the end of a job
    uint32_t receiverBusyMs = 0;   // DLC: the link station is busy this long when a job starts

    // Whether the card drops the connection once `received` bytes of the job came.
    bool DropsAt(uint64_t received) const { return drop != JobDrop::None && received >= dropAfterBytes; }
    // Of `want` more bytes after `received`, as many as the card takes before it drops the connection.
    size_t TakenOf(size_t want, uint64_t received) const {
        return drop == JobDrop::None
                   ? want
                   : static_cast<size_t>(std::min<uint64_t>(want, dropAfterBytes - received));
    }

    bool operator==(const JobFaults&) const = default;
};

}  // namespace sim
