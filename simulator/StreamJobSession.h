#pragma once

#include <string>

#include "simulator/JobBook.h"

namespace sim {

// One connection of a card's job listener over a stream socket (a TCP connection, or the program's
// end of an SPX connection).
struct StreamJobSession {
    size_t card = 0;
    std::string transport;    // "tcp" or "spx"
    bool sendsReady = true;   // the ready (or busy) byte goes first: TCP, the SPX status socket
    bool statusOnly = false;  // the SPX status socket: nothing but the ready byte
    JobKeeping keeping;
};

enum class SessionEnd { Close, Reset };

// A connection the card turns away: counted, and answered with the busy byte. The caller closes it.
void AnswerBusy(int fd, size_t card, JobBook& book);

// Runs the connection on the calling thread until the peer ends it, a fault ends it or `stopFd`
// becomes readable, logging the job it carried in `book`. The caller then closes the connection,
// abruptly when Reset is answered.
SessionEnd RunStreamJobSession(int fd, const StreamJobSession& session, JobBook& book, int stopFd);

}  // namespace sim
