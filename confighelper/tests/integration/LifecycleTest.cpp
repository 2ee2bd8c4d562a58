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
    ASSERT_EQ(WriteRegistryValue(plat::kStoreLocalMachine, plat::kDisplayKey, "Options", options,
                                 sizeof options, plat::kStoreValueText),
              0);
    ASSERT_EQ(WriteRegistryValue(plat::kStoreLocalMachine, plat::kPrintJobsKey, "JobFile", jobFile,
                                 sizeof jobFile, plat::kStoreValueText),
              0);
}

std::string StoredOptions() {
    char text[64] = {};
    std::uint32_t size = sizeof text - 1;
    return ReadRegistryValue(plat::kStoreLocalMachine, plat::kDisplayKey, "Options", text, &size) == 0
               ? text
               : "<missing>";
}

TEST(Lifecycle, WithoutStoredOptionsNothingStarts) {
    plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kDisplayKey);
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
    const std::string unused = std::string(plat::kAdapterOnlyKey) + "\\00005E10AA01";
    const std::string used = std::string(plat::kAdapterOnlyKey) + "\\00005E10AA02";
    SetNumber(unused, "Category", 2);
    SetNumber(used, "Category", 6);
    SetNumber(used, "Detected", 1);
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

    EXPECT_FALSE(ReadNumber(unused, "Category"));
    EXPECT_EQ(ReadNumber(used, "Category"), 4u) << "kept for its port, without the reported category";
    EXPECT_EQ(ReadNumber(used, "Detected"), 0u);
    plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kAdapterOnlyKey);
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
