#include "simulator/StreamJobSession.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace sim {

namespace {

constexpr int SmallReceiveBuffer = 4096;

// Waits for `events` on fd; false when the listener stops or the time (-1: none) runs out first.
bool WaitFor(int fd, short events, int stopFd, int timeoutMs) {
    pollfd fds[2] = {{fd, events, 0}, {stopFd, POLLIN, 0}};
    const int count = fd < 0 ? 1 : 2;
    pollfd* first = fd < 0 ? &fds[1] : &fds[0];
    while (true) {
        const int ready = poll(first, static_cast<nfds_t>(count), timeoutMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        return ready > 0 && fd >= 0 && fds[0].revents != 0 && fds[1].revents == 0;
    }
}

bool SendByte(int fd, uint8_t byte) {
    return send(fd, &byte, 1, MSG_NOSIGNAL) == 1;
}

// The ready byte, or the busy byte; false when nothing more happens on the connection.
bool AnswerReady(int fd, const StreamJobSession& session, JobBook& book, int stopFd) {
    if (book.TakeBusy(session.card)) {
        AnswerBusy(fd, session.card, book);
        return false;
    }
    book.NoteConnection(session.card);
    const uint32_t delayMs = book.Faults(session.card).readyDelayMs;
    if (delayMs != 0) {
        pollfd stop{stopFd, POLLIN, 0};
        if (poll(&stop, 1, static_cast<int>(delayMs)) != 0) {
            return false;
        }
    }
    return SendByte(fd, JobReadyByte) && !session.statusOnly;
}

}  // namespace

void AnswerBusy(int fd, size_t card, JobBook& book) {
    book.NoteConnection(card);
    SendByte(fd, JobBusyByte);
}

SessionEnd RunStreamJobSession(int fd, const StreamJobSession& session, JobBook& book, int stopFd) {
    if (session.sendsReady && !AnswerReady(fd, session, book, stopFd)) {
        return SessionEnd::Close;
    }
    const JobFaults faults = book.Faults(session.card);
    const SessionEnd dropEnd = faults.drop == JobDrop::Reset ? SessionEnd::Reset : SessionEnd::Close;
    if (faults.DropsAt(0)) {
        return dropEnd;
    }
    JobStreamDecoder decoder(session.transport, session.keeping);
    SessionEnd end = SessionEnd::Close;
    if (faults.stopReading) {
        // Reads nothing, with a small receive buffer; the job is over for the card when the peer
        // gives up.
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &SmallReceiveBuffer, sizeof SmallReceiveBuffer);
        WaitFor(fd, POLLRDHUP, stopFd, -1);
    }
    // Kept by the pool's thread from session to session: a quick connection allocates nothing. A card
    // takes a job in small pieces; so the bytes it sums are still in the cache, and the sender sees
    // room as a plain reader of its size would give it (taking 256 KiB at a time, the card kept the
    // monitor below 0.75 of a plain copy's pace over loopback; 32 KiB, above 0.8).
    thread_local std::vector<uint8_t> buffer(32768);
    uint64_t received = 0;
    bool answered = false;
    while (!faults.stopReading && book.AwaitReading(session.card) && WaitFor(fd, POLLIN, stopFd, -1)) {
        const ssize_t got = recv(fd, buffer.data(), faults.TakenOf(buffer.size(), received), 0);
        if (got <= 0) {
            break;
        }
        received += static_cast<uint64_t>(got);
        decoder.Feed(std::span(buffer.data(), static_cast<size_t>(got)));
        if (faults.DropsAt(received)) {
            end = dropEnd;
            break;
        }
        if (decoder.Ended() && !answered && !faults.noAnswer) {
            answered = SendByte(fd, JobAnswerByte);
        }
    }
    if (decoder.Started()) {
        book.Log(session.card, decoder.Job());
    }
    return end;
}

}  // namespace sim
