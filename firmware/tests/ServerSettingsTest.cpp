// What the server reads from and writes to the store: texts of fixed-size fields read whole, the
// window field read back as the handle it was written from.
#include <gtest/gtest.h>

#include <string>

#include "firmware/ServerSettings.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace {

class ServerSettingsTest : public testing::Test {
  protected:
    void SetUp() override {
        plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kTftpKey);
        plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kSnmpKey);
    }
    static void SetText(const char* key, const char* name, const std::string& text) {
        const auto opened = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, key);
        ASSERT_TRUE(opened);
        ASSERT_EQ(opened->WriteText(name, text), plat::kStoreOk);
    }
};

// "FlashFile" fills a 128-byte field: 127 characters and the terminator fit, one more does not.
TEST_F(ServerSettingsTest, ChosenFileIsReadWholeOrNotAtAll) {
    EXPECT_EQ(fendrel::ReadChosenFile(), "");
    for (const std::size_t length : {1, 126, 127}) {
        const std::string path = "/" + std::string(length - 1, 'f');
        SetText(plat::kTftpKey, "FlashFile", path);
        EXPECT_EQ(fendrel::ReadChosenFile(), path) << length;
    }
    SetText(plat::kTftpKey, "FlashFile", std::string(128, 'f'));
    EXPECT_EQ(fendrel::ReadChosenFile(), "");
}

TEST_F(ServerSettingsTest, WindowReadsBackAsTheHandleWritten) {
    plat::WindowHandle window = 0;
    EXPECT_FALSE(fendrel::ReadServerWindow(window));
    for (const plat::WindowHandle written :
         {plat::WindowHandle{0}, plat::WindowHandle{7}, plat::WindowHandle{0x7FFFFFFF},
          plat::WindowHandle{0x80000001}}) {
        ASSERT_TRUE(fendrel::PublishServerWindow(written));
        ASSERT_TRUE(fendrel::ReadServerWindow(window));
        EXPECT_EQ(window, written);
    }
}

TEST_F(ServerSettingsTest, StoredNumbersWinOverTheDefaults) {
    EXPECT_EQ(fendrel::ReadServerSettings().timeOutSeconds, 1);
    EXPECT_EQ(fendrel::ReadServerSettings().retries, 5);
    const auto key = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kSnmpKey);
    ASSERT_TRUE(key);
    ASSERT_EQ(key->WriteNumber("UdpTimeOutInterval", 4), plat::kStoreOk);
    ASSERT_EQ(key->WriteText("UdpTotalRetries", "9"), plat::kStoreOk);  // not a number: the default
    EXPECT_EQ(fendrel::ReadServerSettings().timeOutSeconds, 4);
    EXPECT_EQ(fendrel::ReadServerSettings().retries, 5);
}

}  // namespace
