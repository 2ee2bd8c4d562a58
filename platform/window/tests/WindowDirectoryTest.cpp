#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/window/WindowDirectory.h"

namespace {

// An entry is rewritten in place; a reader sees the whole of one version or the whole of the other,
// never a short title over the tail of a long one.
TEST(WindowDirectory, ReaderNeverSeesHalfARewrittenEntry) {
    const plat::WindowHandle window = plat::WindowDirectory::NewHandle();
    ASSERT_NE(window, 0u);
    const std::string shortTitle = "1,short,2";
    const std::string longTitle(3000, 'L');
    plat::DirectoryEntry entry{window, plat::SelfIdentity(), "DirectoryTest", longTitle};
    ASSERT_TRUE(plat::WindowDirectory::Publish(entry));

    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; !stop; ++i) {
            entry.title = i % 2 == 0 ? shortTitle : longTitle;
            plat::WindowDirectory::Publish(entry);
        }
    });
    int torn = 0;
    for (int i = 0; i < 20000; ++i) {
        const auto seen = plat::WindowDirectory::Find(window);
        torn += !seen || seen->className != "DirectoryTest" ||
                (seen->title != shortTitle && seen->title != longTitle);
    }
    stop = true;
    writer.join();
    EXPECT_EQ(torn, 0);

    plat::WindowDirectory::Withdraw(window);
    EXPECT_FALSE(plat::WindowDirectory::Find(window));
}

// The owner of a window is remembered for delivery, and forgotten once the window's entry goes.
TEST(WindowDirectory, RememberedOwnerHoldsOnlyWhileTheEntryExists) {
    const plat::ProcessIdentity self = plat::SelfIdentity();
    const plat::ProcessIdentity ended{self.pid, self.startTime + 1};
    const plat::WindowHandle mine = plat::WindowDirectory::NewHandle();
    const plat::WindowHandle orphan = plat::WindowDirectory::NewHandle();
    ASSERT_TRUE(plat::WindowDirectory::Publish({mine, self, "DirectoryTest", "mine"}));
    ASSERT_TRUE(plat::WindowDirectory::Publish({orphan, ended, "DirectoryTest", "orphan"}));

    for (int lookup = 0; lookup < 2; ++lookup) {
        EXPECT_EQ(plat::WindowDirectory::Owner(mine), self) << lookup;
    }
    plat::WindowDirectory::Withdraw(mine);
    EXPECT_FALSE(plat::WindowDirectory::Owner(mine));
    EXPECT_FALSE(plat::WindowDirectory::Owner(orphan)) << "its process has ended";
    EXPECT_FALSE(plat::WindowDirectory::Find(orphan)) << "and its entry went with the lookup";
    EXPECT_FALSE(plat::WindowDirectory::Owner(0));
}

}  // namespace
