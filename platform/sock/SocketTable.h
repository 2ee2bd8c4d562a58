#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "platform/sock/LibrarySocket.h"

namespace plat {

// The library's sockets by handle, and its start-up count. Handles are small numbers from 1 up, not
// given out again soon after they are closed, so that a stale handle never reaches a new socket.
class SocketTable {
  public:
    static SocketTable& Get();

    SocketHandle Add(std::shared_ptr<LibrarySocket> socket);  // kInvalidSocket when full
    std::shared_ptr<LibrarySocket> Find(SocketHandle handle);
    std::shared_ptr<LibrarySocket> Remove(SocketHandle handle);

    void Start();
    bool Stop();  // false when not started
    bool Started();

  private:
    std::mutex lock_;
    std::map<SocketHandle, std::shared_ptr<LibrarySocket>> sockets_;
    SocketHandle next_ = 1;
    int starts_ = 0;
};

inline constexpr std::size_t kMaxSockets = 32767;

}  // namespace plat
