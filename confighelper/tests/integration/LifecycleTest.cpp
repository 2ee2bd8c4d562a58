#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "confighelper/tests/integration/HelperFixture.h"
#include "platform/store/ConfigStore.h"
#include "platform/window/RuntimeFolder.h"

namespace helpertest {
namespace {

// A UDP socket of the test on port 162; -1 when the port is taken.
int BindTrapPort() {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(162);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

void WriteStartupValues() {
    const char options[] = "1,2,3";
    const char jobFile[] = "/tmp/jobs.txt";
    ASSERT_EQ(WriteRegistryValue(plat::kStoreLocalMachine, kDisplayKey, "Options", options, sizeof options,
                                 plat::kStoreValueText),
              0);
    ASSERT_EQ(WriteRegistryValue(plat::kStoreLocalMachine, kPrintJobsKey, "JobFile", jobFile, sizeof jobFile,
                                 plat::kStoreValueText),
              0);
}

std::string StoredOptions() {
    char text[64] = {};
    std::uint32_t size = sizeof text - 1;
    return ReadRegistryValue(plat::kStoreLocalMachine, kDisplayKey, "Options", text, &size) == 0
               ? text
               : "<missing>";
}

TEST(Lifecycle, WithoutStoredOptionsNothingStarts) {
    plat::StoreDeleteKey(plat::kStoreLocalMachine, kDisplayKey);
    char options[64] = "";
    std::uint32_t size = sizeof options;
    EXPECT_EQ(HelperInitialize(7, options, &size), kHelperStoreFailed);
    const int fd = BindTrapPort();
    EXPECT_GE(fd, 0) << "no listener holds UDP port 162";
    close(fd);
    EXPECT_EQ(HelperCleanUp("abc", 4), 0);
}

TEST(Lifecycle, ATakenTrapPortDoesNotStopTheStart) {
    WriteStartupValues();
    const int fd = BindTrapPort();
    ASSERT_GE(fd, 0);
    char options[64];
    std::uint32_t size = sizeof options;
    EXPECT_EQ(HelperInitialize(7, options, &size), 0);
    EXPECT_STREQ(options, "1,2,3");
    EXPECT_EQ(size, 6u);
    close(fd);
    EXPECT_EQ(HelperCleanUp("abc", 4), 0);
}

TEST(Lifecycle, CleanUpStoresTheOptionsClosesTheListenersAndPurgesTheStore) {
    WriteStartupValues();
    const std::string unused = std::string(kAdapterOnlyKey) + "\\00005E10AA01";
    const std::string used = std::string(kAdapterOnlyKey) + "\\00005E10AA02";
    ASSERT_EQ(WriteRegistryNumber(plat::kStoreLocalMachine, unused.c_str(), "Category", 2), 0);
    ASSERT_EQ(WriteRegistryNumber(plat::kStoreLocalMachine, used.c_str(), "Category", 6), 0);
    ASSERT_EQ(WriteRegistryNumber(plat::kStoreLocalMachine, used.c_str(), "Detected", 1), 0);
    char options[64];
    std::uint32_t size = sizeof options;
    ASSERT_EQ(HelperInitialize(7, options, &size), 0);
    const char given[] = "abcdeXYZ";
    EXPECT_EQ(HelperCleanUp(given, 5), 0);
    EXPECT_EQ(StoredOptions(), "abcd");
    EXPECT_STREQ(given, "abcdeXYZ") << "the caller's text is not touched";
    const int fd = BindTrapPort();
    EXPECT_GE(fd, 0) << "the listener is closed";
    close(fd);

    std::uint32_t category = 0;
    EXPECT_FALSE(ReadRegistryNumber(plat::kStoreLocalMachine, unused.c_str(), "Category", category));
    ASSERT_TRUE(ReadRegistryNumber(plat::kStoreLocalMachine, used.c_str(), "Category", category));
    EXPECT_EQ(category, 4u) << "kept for its port, without the reported category";
    std::uint32_t detected = 1;
    ASSERT_TRUE(ReadRegistryNumber(plat::kStoreLocalMachine, used.c_str(), "Detected", detected));
    EXPECT_EQ(detected, 0u);
    plat::StoreDeleteKey(plat::kStoreLocalMachine, kAdapterOnlyKey);
}

TEST(Lifecycle, SharedMemoryOnlyWhenSomeoneMadeIt) {
    EXPECT_EQ(HelperInitializeSharedMem(), nullptr);
    const std::string path = plat::RuntimeFolder() + "/PSINFO.SM";
    const int fd = open(path.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 4096), 0);
    close(fd);
    auto* view = static_cast<char*>(HelperInitializeSharedMem());
    ASSERT_NE(view, nullptr);
    std::strcpy(view, "seen");
    EXPECT_EQ(HelperInitializeSharedMem(), view);
}

}  // namespace
}  // namespace helpertest
