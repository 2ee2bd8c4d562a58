#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/window/Window.h"

namespace plat {

// Asynchronous notification of sockets. One watcher thread waits on every selected socket and posts
// each selected event to the socket's window, once: a read or accept notice again only after Rearm
// (the next receive), connect, write and close notices once per selection.
class SocketWatcher {
  public:
    struct Selection {
        std::uintptr_t socketId = 0;
        WindowHandle window = 0;
        std::uint32_t message = 0;
        long events = 0;
    };

    static SocketWatcher& Instance();

    // Replaces any earlier selection of the descriptor; false when it is not a socket.
    bool Select(int fd, const Selection& selection);
    void Rearm(int fd);
    // After it returns, nothing more is posted for the descriptor. Answers the selection it ended.
    std::optional<Selection> Cancel(int fd);

  private:
    using Clock = std::chrono::steady_clock;

    struct Watch {
        Selection selection;
        std::uint32_t generation = 0;  // tells a reused descriptor number from the one selected before
        bool stream = false;
        bool inEpoll = false;
        bool readArmed = true;
        bool acceptArmed = true;
        bool established = false;
        bool connectDone = false;
        bool writeDone = false;
        bool closeDone = false;
        bool finished = false;
    };
    struct Parked {
        int fd;
        std::uint32_t generation;
        Clock::time_point until;
    };

    bool StartLocked();
    void Run();
    static std::uint32_t ReadyNow(int fd, std::uint32_t reported);
    void Handle(int fd, Watch& watch, std::uint32_t reported);
    void HandleStream(int fd, Watch& watch, std::uint32_t ready, bool& posted);
    void HandleDatagram(Watch& watch, std::uint32_t ready, bool& posted);
    void Notify(const Watch& watch, long event, int error, bool& posted);
    void Arm(int fd, Watch& watch);
    void Disarm(int fd, Watch& watch);
    static std::uint32_t Interest(const Watch& watch);
    int NextTimeoutLocked() const;
    void UnparkDueLocked();

    std::mutex mutex_;
    int epoll_ = -1;
    std::uint32_t nextGeneration_ = 1;
    std::map<int, Watch> watches_;
    std::vector<Parked> parked_;
};

}  // namespace plat
