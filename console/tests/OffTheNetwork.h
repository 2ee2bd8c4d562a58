#pragma once

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace consoletest {

// The calling thread in a network of its own where no interface is up, not even loopback, for as
// long as this lives: this PC without TCP/IP for what the thread does meanwhile. Sockets it made
// before stay where they were.
class OffTheNetwork {
  public:
    OffTheNetwork() : home_(open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC)) {
        left_ = home_ >= 0 && unshare(CLONE_NEWNET) == 0;
    }
    ~OffTheNetwork() {
        if (left_) {
            EXPECT_EQ(setns(home_, CLONE_NEWNET), 0);
        }
        if (home_ >= 0) {
            close(home_);
        }
    }
    OffTheNetwork(const OffTheNetwork&) = delete;
    OffTheNetwork& operator=(const OffTheNetwork&) = delete;
    // False when the thread could not leave (the tests run as root of their own namespace).
    bool Left() const { return left_; }

  private:
    int home_;
    bool left_ = false;
};

}  // namespace consoletest
