#include <cstdlib>
#include <cstring>

#include "confighelper/tests/integration/HelperFixture.h"

namespace helpertest {
namespace {

using TrapTest = HelperTest;

// net-snmp's own tool sends the status trap a card sends.
TEST_F(TrapTest, StatusTrapFromSnmptrapBecomesANoticeLine) {
    const int sent = std::system(
        "MIBS= snmptrap -v 1 -c public 127.0.0.1:162 1.3.6.1.4.1.32473 127.0.0.9 6 18 0 "
        "1.3.6.1.4.1.32473.11.5.1.1.9.1.0 i 1025 >/dev/null 2>&1");
    ASSERT_EQ(sent, 0) << "snmptrap (package snmp) is needed";
    ASSERT_TRUE(notices.WaitFor(1, 3000));
    EXPECT_EQ(notices.Texts()[0], "2,127.0.0.1,1025");
}

TEST_F(TrapTest, OtherTrapsGiveNoLine) {
    for (const char* trap : {"6 17 0 1.3.6.1.4.1.32473.11.5.1.1.9.1.0 i 3", "2 0 0 1.3.6.1.2.1.2.2.1.1.2 i 2",
                             "6 18 0 1.3.6.1.4.1.32473.11.5.1.1.9.1.0 s text"}) {
        const std::string command =
            std::string("MIBS= snmptrap -v 1 -c public 127.0.0.1:162 1.3.6.1.4.1.32473 127.0.0.9 ") + trap +
            " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    EXPECT_FALSE(notices.WaitFor(1, 1000));
}

// Registers this PC for the card's status traps over one protocol, as the console does: a row of the
// card's registration table written over that protocol.
void Register(const std::string& adapter, int protocol) {
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + adapter;
    SetNumber(path, "pProtocol", protocol);
    const std::string row = "1.3.6.1.4.1.32473.11.5.1.12.6.2.4.1";
    const std::string index = ".1.2.3.4.5.6";
    const std::string mask = "1," + std::to_string(protocol);
    for (const auto& [column, value] : {std::pair<const char*, std::string>{".7", "1,2"},
                                        {".2", "3,127.0.0.1"},
                                        {".5", mask},
                                        {".4", mask},
                                        {".7", "1,1"}}) {
        char oid[128];
        std::snprintf(oid, sizeof oid, "%s%s%s", row.c_str(), column, index.c_str());
        char values[32];
        std::snprintf(values, sizeof values, "%s", value.c_str());
        std::int32_t size = static_cast<std::int32_t>(std::strlen(values) + 1);
        ASSERT_EQ(HelperSNMPTransact(adapter.c_str(), 2, oid, sizeof oid, values, &size, 1), 0) << column;
    }
}

TEST_F(TrapTest, CardStatusChangeReachesTheNoticeWindowOverEachProtocol) {
    for (std::size_t i = 0; i < 3; ++i) {
        cards->AddCard(NumberedCard(12 + i, 7));
    }
    StartCards();
    const struct {
        int protocol;
        std::string sender;
    } cases[] = {{2, Dotted(CardIp(12))}, {1, "00FACADE" + AdapterName(13)}, {4, AdapterName(14)}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(cases[i].protocol);
        ASSERT_EQ(HelperValidateAdapter(Dotted(CardIp(12 + i)).c_str(), 2), 0);
        Register(AdapterName(12 + i), cases[i].protocol);
        notices.Clear();
        cards->SetStatus(i, 68);
        ASSERT_TRUE(notices.WaitFor(1, 3000));
        EXPECT_EQ(notices.Texts()[0], std::to_string(cases[i].protocol) + "," + cases[i].sender + ",68");
    }
}

}  // namespace
}  // namespace helpertest
