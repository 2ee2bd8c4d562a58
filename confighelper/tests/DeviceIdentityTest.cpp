#include <gtest/gtest.h>

#include <string>

#include "confighelper/DeviceIdentity.h"
#include "confighelper/tests/AnswerBuilder.h"
#include "transport/DeviceRecord.h"

namespace {

TEST(DeviceIdentity, AnswerFillsTheRecord) {
    AnswerBuilder answer;
    answer.Text("Front desk")
        .Text("Second floor")
        .Integer(0x10002)
        .Integer(2)
        .Octets({0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC})
        .Ip(10, 1, 2, 3)
        .Octets({0, 0, 0, 1})
        .Octets({0x00, 0xA0, 0xB1, 0xC2, 0xD3, 0xE4});
    DeviceRecord record;
    ApplyDeviceIdentity(ReadDeviceIdentity(answer.Answer()), record);
    EXPECT_STREQ(record.printServerName, "Front desk");
    EXPECT_STREQ(record.printServerDescription, "Second floor");
    EXPECT_EQ(record.printerStatus, 2);
    EXPECT_EQ(record.category, 2);
    EXPECT_STREQ(record.macAddress, "001122AABBCC");
    EXPECT_STREQ(record.ipAddress, "10.1.2.3");
    EXPECT_STREQ(record.ipxAddress, "0000000100A0B1C2D3E4");
}

TEST(DeviceIdentity, LongNamesAreCutAndWrongValuesLeaveFieldsAlone) {
    AnswerBuilder answer;
    answer.Text(std::string(1000, 'N'))
        .Integer(5)  // description of the wrong type
        .Text("x")
        .Integer(2)
        .Octets({1, 2, 3})      // short hardware address
        .Octets({1, 2, 3, 4})   // IP address as octets
        .Octets({0, 0, 0, 2});  // no node
    DeviceRecord record;
    std::snprintf(record.printServerDescription, sizeof record.printServerDescription, "kept");
    std::snprintf(record.macAddress, sizeof record.macAddress, "001122AABBCC");
    std::snprintf(record.ipAddress, sizeof record.ipAddress, "10.0.0.1");
    ApplyDeviceIdentity(ReadDeviceIdentity(answer.Answer()), record);
    EXPECT_EQ(std::string(record.printServerName), std::string(256, 'N'));
    EXPECT_STREQ(record.printServerDescription, "kept");
    EXPECT_STREQ(record.macAddress, "001122AABBCC");
    EXPECT_STREQ(record.ipAddress, "10.0.0.1");
    EXPECT_STREQ(record.ipxAddress, "00000002000000000000");
}

}  // namespace
