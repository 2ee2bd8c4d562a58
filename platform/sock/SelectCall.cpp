#include "platform/sock/SelectCall.h"

#include <poll.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <memory>
#include <memory_resource>
#include <vector>

#include "platform/sock/SocketError.h"
#include "platform/sock/SocketTable.h"

namespace plat {

namespace {

enum class Condition { Read, Write, Except };

struct Entry {
    SocketHandle handle;
    Condition condition;
    std::shared_ptr<LibrarySocket> socket;
    LibrarySocket::PollTarget target;
    bool watched =
        true;  // dropped once it woke without being ready and without change, so that it cannot spin
    bool ready = false;
};

LibrarySocket::PollTarget SpecFor(LibrarySocket& socket, Condition condition) {
    switch (condition) {
        case Condition::Read:
            return socket.ReadPoll();
        case Condition::Write:
            return socket.WritePoll();
        case Condition::Except:
            return socket.ExceptPoll();
    }
    return {};
}

bool Holds(LibrarySocket& socket, Condition condition, short revents) {
    switch (condition) {
        case Condition::Read:
            return socket.ReadReady(revents);
        case Condition::Write:
            return socket.WriteReady(revents);
        case Condition::Except:
            return socket.ExceptReady(revents);
    }
    return false;
}

using Entries = std::pmr::vector<Entry>;

// The poll records of one round, each with the entry it stands for.
struct Polled {
    std::pmr::vector<pollfd> fds;
    std::pmr::vector<Entry*> entries;
};

std::size_t Watched(const FdSet* set) {
    return set != nullptr ? std::min(set->count, kFdSetSize) : 0;
}

int Collect(FdSet* set, Condition condition, Entries& entries) {
    if (set == nullptr) {
        return 0;
    }
    if (set->count > kFdSetSize) {
        return kWsaEinval;
    }
    for (std::uint32_t i = 0; i < set->count; ++i) {
        auto socket = SocketTable::Get().Find(set->sockets[i]);
        if (!socket) {
            return kWsaEnotsock;
        }
        entries.push_back(Entry{set->sockets[i], condition, socket, SpecFor(*socket, condition)});
    }
    return 0;
}

// One round: polls what is watched up to waitMs and marks what is ready; answers the count.
int Round(Entries& entries, Polled& polled, int waitMs) {
    int count = 0;
    for (Entry& entry : entries) {
        entry.ready = entry.target.readyNow;
        count += entry.ready ? 1 : 0;
    }
    std::pmr::vector<pollfd>& fds = polled.fds;
    fds.clear();
    polled.entries.clear();
    for (Entry& entry : entries) {
        if (entry.watched && !entry.ready && entry.target.fd >= 0) {
            fds.push_back(pollfd{entry.target.fd, entry.target.events, 0});
            polled.entries.push_back(&entry);
        }
    }
    if (poll(fds.data(), fds.size(), count > 0 ? 0 : waitMs) <= 0) {
        return count;
    }
    for (std::size_t i = 0; i < fds.size(); ++i) {
        Entry& entry = *polled.entries[i];
        if (fds[i].revents == 0) {
            continue;
        }
        entry.ready = Holds(*entry.socket, entry.condition, fds[i].revents);
        count += entry.ready ? 1 : 0;
        if (!entry.ready) {
            // Woken without being ready: watch what the socket waits on now (a connect that has
            // completed waits on its stream), or nothing more when that has not changed.
            LibrarySocket::PollTarget now = SpecFor(*entry.socket, entry.condition);
            entry.watched = now.readyNow || now.fd != entry.target.fd || now.events != entry.target.events;
            entry.target = now;
        }
    }
    return count;
}

void Keep(FdSet* set, Condition condition, const Entries& entries) {
    if (set == nullptr) {
        return;
    }
    set->count = 0;
    for (const Entry& entry : entries) {
        if (entry.condition == condition && entry.ready) {
            FdAdd(entry.handle, *set);
        }
    }
}

}  // namespace

int SelectSockets(FdSet* readSet, FdSet* writeSet, FdSet* exceptSet, const TimeValue* timeout) {
    // An ordinary select watches a socket or two: its records fit here, and only a larger one takes
    // from the heap. A select is made for every wait of an exchange.
    std::array<std::byte, 1024> room;
    std::pmr::monotonic_buffer_resource arena(room.data(), room.size());
    Entries entries(&arena);
    entries.reserve(Watched(readSet) + Watched(writeSet) + Watched(exceptSet));
    for (auto [set, condition] : {std::pair{readSet, Condition::Read}, std::pair{writeSet, Condition::Write},
                                  std::pair{exceptSet, Condition::Except}}) {
        if (int error = Collect(set, condition, entries); error != 0) {
            return Fail(error);
        }
    }
    if (entries.empty() || (timeout != nullptr && (timeout->seconds < 0 || timeout->microseconds < 0))) {
        return Fail(kWsaEinval);
    }
    using Clock = std::chrono::steady_clock;
    auto deadline = timeout == nullptr ? Clock::time_point::max()
                                       : Clock::now() + std::chrono::seconds(timeout->seconds) +
                                             std::chrono::microseconds(timeout->microseconds);
    Polled polled{std::pmr::vector<pollfd>(&arena), std::pmr::vector<Entry*>(&arena)};
    polled.fds.reserve(entries.size());
    polled.entries.reserve(entries.size());
    int count = 0;
    for (;;) {
        auto left = deadline == Clock::time_point::max()
                        ? -1
                        : std::max<long long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                                     deadline - Clock::now() + std::chrono::microseconds(999))
                                                     .count());
        count = Round(entries, polled, static_cast<int>(left));
        if (count > 0 || (deadline != Clock::time_point::max() && Clock::now() >= deadline)) {
            break;
        }
    }
    Keep(readSet, Condition::Read, entries);
    Keep(writeSet, Condition::Write, entries);
    Keep(exceptSet, Condition::Except, entries);
    return count;
}

}  // namespace plat
