// The configuration helper and the SNMP library, loaded into one process, each build requests of
// their own; both take the ids from the process's one counter.
#include <string>
#include <vector>

#include "confighelper/tests/integration/HelperFixture.h"
#include "snmp/tests/DeviceStoreEntry.h"
#include "snmp/tests/ScriptedAgent.h"

namespace helpertest {
namespace {

using snmp::test::ReceivedRequest;

const std::string kAdapter = "0040AF000077";
const std::string kSysName = "1.3.6.1.2.1.1.5.0";

// A get of the name through the SNMP library's exchange, by adapter name.
std::int32_t GetThroughSnmpLibrary() {
    char oids[64];
    std::snprintf(oids, sizeof oids, "%s", kSysName.c_str());
    char values[64] = {};
    std::int32_t size = sizeof values;
    return HelperSNMPTransact(kAdapter.c_str(), 0, oids, sizeof oids, values, &size, 1);
}

// The same get, built and sent by the configuration helper itself.
HelperResult GetThroughHelper() {
    char oids[64];
    std::snprintf(oids, sizeof oids, "%s", kSysName.c_str());
    char values[4] = {};
    std::uint32_t size = 0;
    return HelperSetTFTPParameters("127.0.0.1", 0, oids, sizeof oids, values, &size, 1);
}

using RequestIdTest = HelperTest;

// Requests of the two libraries in turn: with one counter each carries a larger id than the one
// before it, whichever library built it; with a counter per library they would interleave.
TEST_F(RequestIdTest, TwoLibrariesNeverReuseEachOthersIds) {
    snmp::test::ScriptedAgent agent([](const std::vector<ReceivedRequest>& requests) {
        const ReceivedRequest& request = requests.back();
        if (request.bindings.empty()) {
            return std::vector<snmp::test::Reply>{};
        }
        return std::vector<snmp::test::Reply>{
            {requests.size() - 1, snmp::test::Answer(request, {snmp::test::Octets(kSysName, "PS-1")})}};
    });
    ASSERT_TRUE(agent.Listening());
    snmp::test::WriteDeviceEntry({kAdapter, "127.0.0.1", ""});

    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(GetThroughSnmpLibrary(), 0);
        EXPECT_EQ(GetThroughHelper(), kHelperOk) << "the answer carries the id the helper's request took";
    }

    const std::vector<ReceivedRequest> requests = agent.Requests();
    ASSERT_EQ(requests.size(), 6u);
    for (std::size_t i = 1; i < requests.size(); ++i) {
        EXPECT_GT(requests[i].requestId, requests[i - 1].requestId) << "request " << i;
    }
}

}  // namespace
}  // namespace helpertest
