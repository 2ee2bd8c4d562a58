#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/services/NamedMutex.h"

namespace {

// The answer another process gets for the name: 1 already existed, 0 owned it, 2 neither.
int OtherProcessSees(const char* name) {
    const pid_t child = fork();
    if (child == 0) {
        plat::NamedMutex mutex(name);
        _exit(mutex.AlreadyExisted() ? 1 : mutex.Owned() ? 0 : 2);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(NamedMutex, HeldByTheFirstProcessUntilReleased) {
    {
        plat::NamedMutex mutex("FENDREL");
        ASSERT_TRUE(mutex.Owned());
        EXPECT_FALSE(mutex.AlreadyExisted());
        EXPECT_EQ(OtherProcessSees("FENDREL"), 1);
        EXPECT_EQ(OtherProcessSees("OTHER"), 0);
        mutex.Release();
        EXPECT_FALSE(mutex.Owned());
        EXPECT_EQ(OtherProcessSees("FENDREL"), 0);
    }
    plat::NamedMutex again("FENDREL");
    EXPECT_TRUE(again.Owned());
}

TEST(NamedMutex, NamesCannotLeaveTheRuntimeFolder) {
    plat::NamedMutex mutex("../../escape/name");
    EXPECT_TRUE(mutex.Owned());
    EXPECT_EQ(OtherProcessSees("../../escape/name"), 1);
}

}  // namespace
