#include <gtest/gtest.h>

#include "platform/spooler/DeviceUri.h"

namespace plat {
namespace {

// A port's name goes into its queue's device URI percent-encoded and comes back whole.
TEST(DeviceUri, APortNameGoesEncodedAndComesBackWhole) {
    struct Case {
        const char* port;
        const char* uri;
    };
    const Case cases[] = {
        {"Card-1", "vorlane:/Card-1"},
        {"Odd Name", "vorlane:/Odd%20Name"},
        {"\xC3\x9Cn\xC3\xAF-\xC3\x9F", "vorlane:/%C3%9Cn%C3%AF-%C3%9F"},  // Ünï-ß
        {"a\"b\\c%d/e#f?g'h", "vorlane:/a%22b%5Cc%25d%2Fe%23f%3Fg%27h"},
        {"a\nb\t", "vorlane:/a%0Ab%09"},  // stored before Add Port refused such names
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PortDeviceUri(c.port), c.uri) << c.port;
        EXPECT_EQ(PortOfDeviceUri(c.uri), c.port) << c.uri;
    }
}

TEST(DeviceUri, OnlyAVorlaneUriWithWholeEscapesNamesAPort) {
    EXPECT_EQ(PortOfDeviceUri("vorlane://P1"), "P1");
    EXPECT_EQ(PortOfDeviceUri("vorlane:P%4a"), "PJ");
    for (const char* uri : {"socket://P1", "vorlane:/", "vorlane:", "vorlane:/P%2", "vorlane:/P%",
                            "vorlane:/P%G1", "Vorlane:/P1", "vorlane:/HP%00evil", "vorlane:/HP%00"}) {
        EXPECT_FALSE(PortOfDeviceUri(uri)) << uri;
    }
}

}  // namespace
}  // namespace plat
