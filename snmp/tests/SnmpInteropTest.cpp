// Interoperability with the net-snmp agent and tools of this machine: requests built by the library
// are answered by snmpd and the answers decode; v1 traps sent by snmptrap decode. Runs in a private
// network namespace, where ports 161 and 162 are free.
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/services/GlobalMemory.h"
#include "snmp/exports/Vantorel.h"
#include "snmp/tests/DeviceStoreEntry.h"
#include "snmp/tests/LoopbackSocket.h"
#include "snmp/tests/PeerProgram.h"

namespace snmp {
namespace {

using test::FindProgram;
using test::LoopbackSocket;
using test::PeerProgram;

constexpr const char* kCommunity = "k!r@o#v$e%t";
constexpr int kAnswerWaitMs = 500;

struct BlockDeleter {
    void operator()(void* block) const { plat::FreeBlock(block); }
};

// A scratch folder of this test program, removed at the end.
class ScratchFolder {
  public:
    ScratchFolder() {
        char pattern[] = "/tmp/vorlane-snmp-interop.XXXXXX";
        path_ = mkdtemp(pattern) != nullptr ? pattern : "";
    }
    ~ScratchFolder() {
        if (!path_.empty()) {
            std::system(("rm -rf '" + path_ + "'").c_str());
        }
    }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

struct Answer {
    std::int32_t result = -1;
    std::string oids;
    std::string values;
};

class SnmpdInterop : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const std::string snmpd = FindProgram("snmpd");
        if (snmpd.empty()) {
            return;
        }
        scratch_ = new ScratchFolder;
        const std::string config = scratch_->Path() + "/snmpd.conf";
        std::ofstream(config) << "com2sec c default \"" << kCommunity << "\"\n"
                              << "group g v1 c\nview all included .1\n"
                              << "access g \"\" any noauth exact all all none\n"
                              << "sysName vorlane-interop\nsysLocation Room 7\n";
        agent_ =
            new PeerProgram(snmpd, {"-f", "-Lo", "-C", "-c", config, "udp:127.0.0.1:161"}, scratch_->Path());
        // The agent as a print server of the device store, reached over UDP by its adapter name.
        test::WriteDeviceEntry({kAgentAdapter, "127.0.0.1", "", 2, 2});
        test::WriteExchangeSettings(1, 1);
        agentFailure_ = AwaitAgent();
    }
    static void TearDownTestSuite() {
        delete agent_;
        delete scratch_;
        agent_ = nullptr;
        scratch_ = nullptr;
    }

    void SetUp() override {
        if (agent_ == nullptr) {
            GTEST_SKIP() << "snmpd is not installed (Debian package snmpd)";
        }
        ASSERT_TRUE(agent_->Started());
        ASSERT_EQ(agentFailure_, "");
    }

    // Builds the request with the library and sends it to the agent, for at most `rounds` waits of an
    // answer; the answer, or nothing.
    static std::vector<std::uint8_t> Ask(std::int32_t operation, std::string oids, std::string values,
                                         std::int32_t count, int rounds) {
        oids.resize(oids.size() + 100, '\0');
        std::int32_t valueSize = static_cast<std::int32_t>(values.size() + 1);
        std::int32_t length = 0;
        std::unique_ptr<std::uint8_t, BlockDeleter> request(
            HelperFormSNMPPacket(operation, oids.data(), static_cast<std::int32_t>(oids.size()),
                                 values.data(), &valueSize, count, &length));
        std::vector<std::uint8_t> datagram;
        if (request == nullptr) {
            ADD_FAILURE() << "the request was not built";
            return datagram;
        }
        LoopbackSocket socket;
        for (int round = 0; round < rounds && datagram.empty(); ++round) {
            EXPECT_TRUE(socket.SendTo(request.get(), length, 161));
            datagram = socket.Receive(kAnswerWaitMs);
        }
        return datagram;
    }

    // Waits until the agent answers a get; else why it did not: it ended, or stayed silent. It starts
    // in well under a second; the bound is for a loaded machine.
    static std::string AwaitAgent() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (Ask(0, "1.3.6.1.2.1.1.5.0", "", 1, 1).empty()) {
            if (const std::string end = agent_->End(); end != "still running") {
                return "snmpd ended (" + end + "): " + agent_->Log();
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return "snmpd did not answer in time: " + agent_->Log();
            }
        }
        return "";
    }

    // Sends the request built by the library until the agent answers (for a minute at most: a bound
    // for a loaded machine) and turns the answer into text with the library.
    static Answer Exchange(std::int32_t operation, std::string oids, std::string values, std::int32_t count) {
        Answer answer;
        const std::vector<std::uint8_t> datagram =
            Ask(operation, std::move(oids), std::move(values), count, 60000 / kAnswerWaitMs);
        if (datagram.empty()) {
            ADD_FAILURE() << "snmpd did not answer";
            return answer;
        }
        char oidText[512] = {};
        char valueText[512] = {};
        std::int32_t oidSize = sizeof oidText;
        std::int32_t valueTextSize = sizeof valueText;
        answer.result = HelperSNMPDecodePacket(datagram.data(), static_cast<std::int32_t>(datagram.size()),
                                               oidText, &oidSize, valueText, &valueTextSize);
        answer.oids = oidText;
        answer.values = valueText;
        return answer;
    }

    // One exchange of the text interface with the agent; repeated while it does not answer yet (it
    // may still be starting).
    static Answer Transact(std::int32_t operation, std::string oids, std::string values, std::int32_t count) {
        const std::size_t oidLength = oids.size();
        Answer answer;
        for (int round = 0; round < 10 && (answer.result == -1 || answer.result == 25010); ++round) {
            std::string oidBuffer = oids;
            oidBuffer.resize(oidLength + 100, '\0');
            std::string valueBuffer = values.empty() ? std::string(200, ' ') : values + '\0';
            std::int32_t valueSize = static_cast<std::int32_t>(values.empty() ? 200 : values.size() + 1);
            answer.result = HelperSNMPTransact(kAgentAdapter, operation, oidBuffer.data(),
                                               static_cast<std::int32_t>(oidBuffer.size()),
                                               valueBuffer.data(), &valueSize, count);
            answer.oids = oidBuffer.c_str();
            answer.values = valueBuffer.c_str();
        }
        return answer;
    }

    static constexpr const char* kAgentAdapter = "0040AF7F0001";
    static ScratchFolder* scratch_;
    static PeerProgram* agent_;
    static std::string agentFailure_;
};

ScratchFolder* SnmpdInterop::scratch_ = nullptr;
PeerProgram* SnmpdInterop::agent_ = nullptr;
std::string SnmpdInterop::agentFailure_;

TEST_F(SnmpdInterop, AnswersAGetBuiltByTheLibrary) {
    const Answer answer = Exchange(0, "1.3.6.1.2.1.1.5.0,1.3.6.1.2.1.1.6.0", "", 2);
    EXPECT_EQ(answer.result, 0);
    EXPECT_EQ(answer.oids, "1.3.6.1.2.1.1.5.0,1.3.6.1.2.1.1.6.0");
    EXPECT_EQ(answer.values, "2,15,vorlane-interop,2,6,Room 7");
}

TEST_F(SnmpdInterop, AnswersAGetNextWithTheNextObject) {
    const Answer answer = Exchange(1, "1.3.6.1.2.1.1.5,1.3.6.1.2.1.1.2.0", "", 2);
    EXPECT_EQ(answer.result, 0);
    EXPECT_EQ(answer.oids, "1.3.6.1.2.1.1.5.0,1.3.6.1.2.1.1.3.0");
    EXPECT_EQ(answer.values.rfind("2,15,vorlane-interop,7,", 0), 0u) << answer.values;
}

TEST_F(SnmpdInterop, TakesASetBuiltByTheLibrary) {
    const Answer set = Exchange(2, "1.3.6.1.2.1.1.4.0", "2,11,ops, room 4", 1);
    EXPECT_EQ(set.result, 0);
    EXPECT_EQ(set.values, "2,11,ops, room 4");
    const Answer get = Exchange(0, "1.3.6.1.2.1.1.4.0", "", 1);
    EXPECT_EQ(get.values, "2,11,ops, room 4");
}

TEST_F(SnmpdInterop, AnUnknownObjectIsAnAgentError) {
    EXPECT_EQ(Exchange(0, "1.3.6.1.2.1.1.99.0", "", 1).result, 25011);
    EXPECT_EQ(Exchange(2, "1.3.6.1.2.1.1.4.0", "1,5", 1).result, 25011);  // wrong type
}

TEST_F(SnmpdInterop, AnswersTheExchangesOfTheTextInterface) {
    Answer get = Transact(0, "1.3.6.1.2.1.1.5.0,1.3.6.1.2.1.1.6.0", "", 2);
    EXPECT_EQ(get.result, 0);
    EXPECT_EQ(get.values, "2,15,vorlane-interop,2,6,Room 7");

    const Answer next = Transact(1, "1.3.6.1.2.1.1.5,1.3.6.1.2.1.1.2.0", "", 2);
    EXPECT_EQ(next.result, 0);
    EXPECT_EQ(next.oids, "1.3.6.1.2.1.1.5.0,1.3.6.1.2.1.1.3.0");
    EXPECT_EQ(next.values.rfind("2,15,vorlane-interop,7,", 0), 0u) << next.values;

    const Answer set = Transact(2, "1.3.6.1.2.1.1.4.0", "2,8,desk, 12", 1);
    EXPECT_EQ(set.result, 0);
    get = Transact(0, "1.3.6.1.2.1.1.4.0", "", 1);
    EXPECT_EQ(get.result, 0);
    EXPECT_EQ(get.values, "2,8,desk, 12");

    EXPECT_EQ(Transact(0, "1.3.6.1.2.1.1.99.0", "", 1).result, 25011) << "noSuchName";
    EXPECT_EQ(Transact(2, "1.3.6.1.2.1.1.4.0", "1,5", 1).result, 25011) << "wrong type";
}

struct TrapCase {
    const char* generic;
    const char* specific;
    const char* type;
    const char* value;
    std::uint8_t expectedGeneric;
    std::uint16_t expectedSpecific;
    std::int32_t expectedType;
    std::vector<std::uint8_t> expectedValue;
};

TEST(SnmptrapInterop, V1TrapsDecodeToTheirGenericSpecificAndFirstValue) {
    const std::string snmptrap = FindProgram("snmptrap");
    if (snmptrap.empty()) {
        GTEST_SKIP() << "snmptrap is not installed (Debian package snmp)";
    }
    ScratchFolder scratch;
    LoopbackSocket listener(162);
    ASSERT_TRUE(listener.Bound());
    const TrapCase cases[] = {
        {"6", "18", "i", "1025", 6, 18, 1, {0x01, 0x04, 0x00, 0x00}},
        {"6", "19", "i", "-2", 6, 19, 1, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"6", "65554", "i", "2049", 6, 18, 1, {0x01, 0x08, 0x00, 0x00}},
        {"3", "0", "s", "eth0", 3, 0, 2, {'e', 't', 'h', '0'}},
        {"6", "7", "a", "192.168.7.1", 6, 7, 3, {192, 168, 7, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.generic) + "/" + c.specific);
        ASSERT_EQ(
            test::RunProgram(snmptrap,
                             {"-v", "1", "-c", kCommunity, "127.0.0.1:162", "1.3.6.1.4.1.32473", "127.0.0.9",
                              c.generic, c.specific, "4321", "1.3.6.1.4.1.32473.11.5.1.1.9.1.0", c.type,
                              c.value, "1.3.6.1.2.1.1.5.0", "s", "second"},
                             scratch.Path()),
            0);
        std::vector<std::uint8_t> datagram = listener.Receive(5000);
        ASSERT_FALSE(datagram.empty());
        TrapParam* trap =
            HelperSnmpDecodeTrapPdu(datagram.data(), static_cast<std::int32_t>(datagram.size()));
        ASSERT_NE(trap, nullptr);
        EXPECT_EQ(std::string(trap->Community, trap->CommunityLength), kCommunity);
        EXPECT_STREQ(trap->Enterprise, "1.3.6.1.4.1.32473");
        EXPECT_EQ(std::vector<std::uint8_t>(trap->AgentAddress, trap->AgentAddress + 4),
                  (std::vector<std::uint8_t>{127, 0, 0, 9}));
        EXPECT_EQ(trap->GenericTrap, c.expectedGeneric);
        EXPECT_EQ(trap->SpecificTrap, c.expectedSpecific);
        EXPECT_EQ(trap->TimeStamp, 4321u);
        ASSERT_EQ(trap->BindingCount, 2);
        EXPECT_STREQ(trap->Bindings[0].Oid, "1.3.6.1.4.1.32473.11.5.1.1.9.1.0");
        EXPECT_EQ(trap->Bindings[0].ValueType, c.expectedType);
        const auto* value = static_cast<const std::uint8_t*>(trap->Bindings[0].Value);
        EXPECT_EQ(std::vector<std::uint8_t>(value, value + trap->Bindings[0].ValueLength), c.expectedValue);
        FreeTrapParam(trap);
    }
}

}  // namespace
}  // namespace snmp
