#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/services/ProcessId.h"

namespace {

// The id is kept after the first call; a forked child must see its own, not its parent's.
TEST(ProcessId, IsEachProcesssOwnAcrossFork) {
    ASSERT_EQ(plat::CurrentProcessId(), getpid());
    const pid_t child = fork();
    if (child == 0) {
        _exit(plat::CurrentProcessId() == getpid() ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(plat::CurrentProcessId(), getpid());
}

}  // namespace
