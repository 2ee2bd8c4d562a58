// The sets that register this PC in a print server's trap-destination table.
#include <gtest/gtest.h>

#include <string>

#include "platform/services/GlobalMemory.h"
#include "snmp/exchange/RegistrationRequests.h"
#include "snmp/request/RequestEncoder.h"
#include "snmp/request/SnmpResult.h"
#include "transport/ProtocolMask.h"

namespace snmp {
namespace {

const std::string Column = "1.3.6.1.4.1.32473.11.5.1.12.6.2.4.1.";
const std::string Row = "1.22.3.44.5.255";

std::string Oids(std::initializer_list<int> columns) {
    std::string text;
    for (int column : columns) {
        text += (text.empty() ? "" : ",") + Column + std::to_string(column) + "." + Row;
    }
    return text;
}

LocalAddresses Local(std::uint8_t mask) {
    LocalAddresses local;
    local.mask = mask;
    local.ip = {127, 0, 0, 1};
    // A network number holding a comma and a zero byte: the text carries it by count.
    local.ipx = {0x2C, 0x00, 0xCA, 0xDE, 0x02, 0x00, 0x00, 0x00, 0x00, 0x01};
    return local;
}

TEST(RegistrationRequests, RowIndexIsSixDecimalArcs) {
    EXPECT_EQ(RowIndexText({1, 22, 3, 44, 5, 255}), Row);
    EXPECT_EQ(RowIndexText({0, 0, 0, 0, 0, 0}), "0.0.0.0.0.0");
}

TEST(RegistrationRequests, RowStatusIsOneIntegerBinding) {
    const SetRequest create = RowStatusSet(Row, kRowCreate);
    EXPECT_EQ(create.oidList, Oids({7}));
    EXPECT_EQ(create.values, "1,2");
    EXPECT_EQ(create.count, 1);
    EXPECT_EQ(RowStatusSet(Row, kRowDelete).values, "1,4");
}

TEST(RegistrationRequests, AddressColumnsFollowTheMask) {
    const std::string ipx = std::string("2,4,") + std::string("\x2C\x00\xCA\xDE", 4);
    struct Case {
        std::uint8_t mask;
        std::uint8_t preferred;
        std::string oids;
        std::string values;
        std::int32_t count;
    };
    const Case cases[] = {
        {kProtocolIp, 2, Oids({2, 5, 4}), "3,127.0.0.1,1,2,1,2", 3},
        {kProtocolDlc, 4, Oids({5, 4}), "1,4,1,4", 2},
        {kProtocolIp | kProtocolIpx, 1, Oids({2, 3, 5, 4}), "3,127.0.0.1," + ipx + ",1,3,1,1", 4},
        {kProtocolIpx | kProtocolDlc, 4, Oids({3, 5, 4}), ipx + ",1,5,1,4", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mask));
        const SetRequest set = AddressColumnsSet(Row, Local(c.mask), c.preferred);
        EXPECT_EQ(set.oidList, c.oids);
        EXPECT_EQ(set.values, c.values);
        EXPECT_EQ(set.count, c.count);
        // Each set must build as a request of the library.
        std::string oids = set.oidList;
        RequestText text;
        text.operation = kOperationSet;
        text.oidList = oids.c_str();
        text.oidLength = oids.size() + 1;
        text.values = set.values.data();
        text.valueSize = set.values.size();
        text.count = set.count;
        EncodedRequest request;
        EXPECT_EQ(EncodeRequest(text, request), kSnmpOk);
        plat::FreeBlock(request.message);
    }
}

}  // namespace
}  // namespace snmp
