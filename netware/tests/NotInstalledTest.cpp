#include <gtest/gtest.h>

#include <cstdlib>

#include "netware/Tessik.h"
#include "platform/netware/NetWareClient.h"

namespace {

// This program runs without a simulated LAN: the machine has no NetWare client.
TEST(NotInstalledTest, WithoutALanThereIsNoClientAndEveryExportCannotConnect) {
    ASSERT_EQ(std::getenv("VORLANE_LAN"), nullptr);
    EXPECT_EQ(plat::NwInitializeClient(), plat::kNwClientAbsent);
    plat::NwConnection connection = 0;
    EXPECT_EQ(plat::NwOpenConnection("FS1", connection), plat::kNwClientAbsent);

    char server[] = "fs1", user[] = "admin", password[] = "pw", tree[] = "acme", buffer[64] = "old";
    std::uint32_t length = 63;
    std::int32_t count = 0;
    std::int32_t number = 0;
    EXPECT_EQ(NwBiLogin(server, user, password), kNwCannotConnect);
    EXPECT_STREQ(server, "fs1") << "nothing is touched";
    EXPECT_EQ(NwNdsLogin(tree, "admin", "org", "pw"), kNwCannotConnect);
    EXPECT_EQ(NwListFs(buffer, &length, &count), kNwCannotConnect);
    EXPECT_EQ(NwListTrees(buffer, &length, &count), kNwCannotConnect);
    EXPECT_EQ(NwBiGetQueueList("FS1", buffer, &length, &count), kNwCannotConnect);
    EXPECT_EQ(NwNdsBrowse(tree, "ORG", "QUEUE", buffer, &length, &count), kNwCannotConnect);
    EXPECT_EQ(NwGetVerInfo("FS1", &number, buffer, &length), kNwCannotConnect);
    EXPECT_EQ(NwStateOfAuthentication("FS1", &number), kNwCannotConnect);
    EXPECT_EQ(NwBiCreateQueue("FS1", "Q"), kNwCannotConnect);
    EXPECT_STREQ(buffer, "old");
}

}  // namespace
