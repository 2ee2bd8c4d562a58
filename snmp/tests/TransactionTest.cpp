// The exchange of the text interface with a print server reached through the device store, against
// a stand-in agent that answers as each test scripts it: answers, wrong request ids, garbage, error
// statuses, silence, and two exchanges in flight at once.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "snmp/codec/SnmpValueType.h"
#include "snmp/exports/Vantorel.h"
#include "snmp/tests/DeviceStoreEntry.h"
#include "snmp/tests/ScriptedAgent.h"
#include "tests/Eventually.h"

namespace snmp::test {
namespace {

using std::chrono::steady_clock;

const std::string kAdapter = "0040AF000001";
const std::string kSysName = "1.3.6.1.2.1.1.5.0";
const std::string kSysLocation = "1.3.6.1.2.1.1.6.0";
const std::string kSysServices = "1.3.6.1.2.1.1.7.0";
const std::string kPrinterStatus = "1.3.6.1.4.1.32473.11.5.1.1.9.1.0";
constexpr char kBlank = ' ';

struct Outcome {
    std::int32_t result = -1;
    std::string oids;
    std::string values;
    std::int32_t valueSize = 0;
};

enum class Form { Bytes, Hex };

// One exchange as the console makes it: the identifiers with 100 bytes to spare, the value buffer
// filled with blanks (or holding a set's values).
Outcome Transact(std::int32_t operation, const std::string& oidList, const std::string& values,
                 std::int32_t count, std::size_t valueCapacity = 200, Form form = Form::Bytes,
                 std::size_t oidSpare = 100, const char* adapter = kAdapter.c_str()) {
    std::vector<char> oids(oidList.begin(), oidList.end());
    oids.resize(oidList.size() + oidSpare, '\0');
    std::vector<char> valueBuffer(std::max(valueCapacity, values.size()), kBlank);
    std::copy(values.begin(), values.end(), valueBuffer.begin());
    Outcome out;
    out.valueSize = static_cast<std::int32_t>(values.empty() ? valueCapacity : values.size());
    auto call = form == Form::Hex ? HelperSNMPTransactAscii : HelperSNMPTransact;
    out.result = call(adapter, operation, oids.data(), static_cast<std::int32_t>(oids.size()),
                      valueBuffer.data(), &out.valueSize, count);
    out.oids = oids.data();
    out.values.assign(valueBuffer.data(), strnlen(valueBuffer.data(), valueBuffer.size()));
    return out;
}

// Replies to the newest request only.
ScriptedAgent::Script AnswerNewest(std::function<Bytes(const ReceivedRequest&)> answer) {
    return [answer](const std::vector<ReceivedRequest>& requests) {
        return std::vector<Reply>{{requests.size() - 1, answer(requests.back())}};
    };
}

// Echoes every binding of the newest request, as an agent answers a set.
ScriptedAgent::Script Echo() {
    return AnswerNewest([](const ReceivedRequest& request) { return Answer(request, request.bindings); });
}

ScriptedAgent::Script Silent() {
    return [](const std::vector<ReceivedRequest>&) { return std::vector<Reply>{}; };
}

class TransactionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteDeviceEntry({kAdapter, "127.0.0.1", "", 2, 2});
        WriteExchangeSettings(1, 2);
    }
};

TEST_F(TransactionTest, AGetSendsTheIdentifiersAndWritesTheAnswerAsText) {
    ScriptedAgent agent(AnswerNewest([](const ReceivedRequest& request) {
        return Answer(request, {Octets(kSysName, "lp-3"), Integer(kSysServices, 72)});
    }));
    ASSERT_TRUE(agent.Listening());
    const Outcome out = Transact(0, kSysName + "," + kSysServices, "", 2);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.values, "2,4,lp-3,1,72");
    EXPECT_EQ(out.valueSize, 13);
    EXPECT_EQ(out.oids, kSysName + "," + kSysServices);

    const std::vector<ReceivedRequest> requests = agent.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].pduType, 0);
    EXPECT_EQ(requests[0].community, "k!r@o#v$e%t");
    ASSERT_EQ(requests[0].bindings.size(), 2u);
    EXPECT_EQ(requests[0].bindings[1].oid, kSysServices);
    EXPECT_EQ(requests[0].bindings[1].type, kSnmpOctetString) << "a get carries empty octet strings";
    EXPECT_TRUE(requests[0].bindings[1].value.empty());
}

TEST_F(TransactionTest, AGetNextGivesBackTheNextIdentifiersOr25012WhenTheyDoNotFit) {
    ScriptedAgent agent(AnswerNewest(
        [](const ReceivedRequest& request) { return Answer(request, {Octets(kSysLocation, "Room 7")}); }));
    Outcome out = Transact(1, kSysName, "", 1);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.oids, kSysLocation);
    EXPECT_EQ(out.values, "2,6,Room 7");
    EXPECT_EQ(agent.Requests().at(0).pduType, 1);

    const std::string shorter = "1.3.6.1.2.1.1.5";  // the answer's identifier is two bytes longer
    out = Transact(1, shorter, "", 1, 200, Form::Bytes, 1);
    EXPECT_EQ(out.result, 25012);
}

TEST_F(TransactionTest, AnAnswerOfManyKilobytesIsTaken) {
    // 40 values of 250 bytes: an answer of over 10 KB in one datagram.
    ScriptedAgent agent(AnswerNewest([](const ReceivedRequest& request) {
        std::vector<SentBinding> values;
        for (std::size_t i = 0; i < request.bindings.size(); ++i) {
            values.push_back(
                Octets(request.bindings[i].oid, std::string(250, static_cast<char>('a' + i % 26))));
        }
        return Answer(request, values);
    }));
    std::string oids;
    std::string expected;
    for (int i = 0; i < 40; ++i) {
        oids += (i == 0 ? "" : ",") + kSysName;
        expected +=
            (i == 0 ? "" : ",") + std::string("2,250,") + std::string(250, static_cast<char>('a' + i % 26));
    }
    const Outcome out = Transact(0, oids, "", 40, 12000);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.values, expected);
    EXPECT_EQ(agent.Requests().size(), 1u) << "taken at once, not asked again";
}

TEST_F(TransactionTest, ASetSendsEveryValueFormOfTheText) {
    ScriptedAgent agent(Echo());
    const std::string values = std::string("1,-7,2,3,a,b,3,10.1.2.3,9,12,xy,6,4000000000");
    const std::string oids =
        "1.3.6.1.4.1.32473.11.5.1.1.2.1.0,1.3.6.1.4.1.32473.11.5.1.1.2.2.0,"
        "1.3.6.1.4.1.32473.11.5.1.1.2.3.0,1.3.6.1.4.1.32473.11.5.1.1.2.4.0,"
        "1.3.6.1.4.1.32473.11.5.1.1.2.5.0,1.3.6.1.4.1.32473.11.5.1.1.2.6.0";
    const Outcome out = Transact(2, oids, values, 6, values.size() + 1);
    EXPECT_EQ(out.result, 0) << "a set's echo with a null has no text form, yet the set succeeded";

    const std::vector<ReceivedRequest> requests = agent.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].pduType, 3);
    const std::vector<SentBinding>& sent = requests[0].bindings;
    ASSERT_EQ(sent.size(), 6u);
    const std::int32_t types[] = {kSnmpInteger, kSnmpOctetString, kSnmpIpAddress,
                                  kSnmpNull,    kSnmpOctetString, kSnmpGauge};
    const Bytes expected[] = {{0xF9, 0xFF, 0xFF, 0xFF}, Text("a,b"), {10, 1, 2, 3}, {}, Text("xy"),
                              {0x00, 0x28, 0x6B, 0xEE}};
    for (std::size_t i = 0; i < sent.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sent[i].type, types[i]);
        EXPECT_EQ(sent[i].value, expected[i]);
    }
}

TEST_F(TransactionTest, EveryErrorStatusFailsAndLeavesTheBuffersWithoutAnAnswer) {
    for (std::uint8_t status = 1; status <= 5; ++status) {
        SCOPED_TRACE(static_cast<int>(status));
        ScriptedAgent agent(AnswerNewest([status](const ReceivedRequest& request) {
            return Answer(request, {Octets(kSysName, "")}, status);
        }));
        const Outcome out = Transact(0, kSysName, "", 1);
        EXPECT_EQ(out.result, 25011);
        EXPECT_EQ(out.values, std::string(200, kBlank)) << "a blank value must not pass for a real one";
        EXPECT_EQ(out.valueSize, 200);
    }
}

struct RoundCase {
    const char* what;
    std::function<Bytes(const ReceivedRequest&, std::size_t index)> answer;
    std::int32_t result;
    std::size_t requests;
};

TEST_F(TransactionTest, AnswersThatDoNotDecodeOrBelongToAnotherRequestStartNewRounds) {
    const Bytes garbage = {0x30, 0x03, 0x02, 0x01};
    const auto good = [](const ReceivedRequest& request) {
        return Answer(request, {Integer(kSysServices, 72)});
    };
    const RoundCase cases[] = {
        {"another request's id, then its own",
         [&](const ReceivedRequest& r, std::size_t i) { return i == 0 ? Answer(r, {}, 0, 1) : good(r); }, 0,
         2},
        {"garbage, then the answer",
         [&](const ReceivedRequest& r, std::size_t i) { return i == 0 ? garbage : good(r); }, 0, 2},
        {"always another request's id",
         [](const ReceivedRequest& r, std::size_t) { return Answer(r, {}, 0, -1); }, 25010, 3},
        {"always garbage", [&](const ReceivedRequest&, std::size_t) { return garbage; }, 25009, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedAgent agent([&c](const std::vector<ReceivedRequest>& requests) {
            return std::vector<Reply>{{requests.size() - 1, c.answer(requests.back(), requests.size() - 1)}};
        });
        const Outcome out = Transact(0, kSysServices, "", 1);
        EXPECT_EQ(out.result, c.result);
        if (c.result == 0) {
            EXPECT_EQ(out.values, "1,72");
        }
        const std::vector<ReceivedRequest> requests = agent.Requests();
        ASSERT_EQ(requests.size(), c.requests) << "1 + UdpTotalRetries rounds at most";
        for (const ReceivedRequest& request : requests) {
            EXPECT_EQ(request.requestId, requests[0].requestId) << "each round resends the same request";
        }
    }
}

TEST_F(TransactionTest, WithoutStoredRetriesAnExchangeGoesSixRounds) {
    WriteExchangeSettings(1, std::nullopt);
    ScriptedAgent agent(
        AnswerNewest([](const ReceivedRequest& request) { return Answer(request, {}, 0, 1); }));
    EXPECT_EQ(Transact(0, kSysName, "", 1).result, 25010);
    EXPECT_EQ(agent.Requests().size(), 6u);
}

TEST_F(TransactionTest, SilenceEndsTheExchangeWithoutFurtherRounds) {
    ScriptedAgent agent(Silent());
    const auto start = steady_clock::now();
    EXPECT_EQ(Transact(0, kSysName, "", 1).result, 25010);
    // The channel waits twice (retries 1) for 1 s and has no protocol to fall back to; more rounds
    // would wait as long again each.
    EXPECT_LT(steady_clock::now() - start, std::chrono::milliseconds(2900));
    EXPECT_FALSE(agent.Requests().empty());
}

TEST_F(TransactionTest, TwoExchangesInFlightEachTakeTheirOwnAnswer) {
    // The first request is answered only after the second has arrived, and after the second's
    // answer; any resend is answered at once.
    const auto answerFor = [](const ReceivedRequest& request) {
        const std::string& oid = request.bindings.at(0).oid;
        return Answer(request, {Octets(oid, oid == kSysName ? "first" : "second")});
    };
    ScriptedAgent agent([&](const std::vector<ReceivedRequest>& requests) {
        if (requests.size() == 1) {
            return std::vector<Reply>{};
        }
        if (requests.size() == 2) {
            return std::vector<Reply>{{1, answerFor(requests[1])}, {0, answerFor(requests[0])}};
        }
        return std::vector<Reply>{{requests.size() - 1, answerFor(requests.back())}};
    });
    Outcome first;
    std::thread earlier([&] { first = Transact(0, kSysName, "", 1); });
    testsupport::Eventually([&] { return !agent.Requests().empty(); });
    const Outcome second = Transact(0, kSysLocation, "", 1);
    earlier.join();
    EXPECT_EQ(first.result, 0);
    EXPECT_EQ(first.values, "2,5,first");
    EXPECT_EQ(second.result, 0);
    EXPECT_EQ(second.values, "2,6,second");
    const std::vector<ReceivedRequest> requests = agent.Requests();
    ASSERT_GE(requests.size(), 2u);
    EXPECT_NE(requests[0].requestId, requests[1].requestId);
}

TEST_F(TransactionTest, TheHexFormWritesOctetStringsAsDigitsAndReportsTheRoomItNeeds) {
    ScriptedAgent agent(AnswerNewest([](const ReceivedRequest& request) {
        return Answer(request, {Octets(kSysName, std::string("\x00\x40\xAF\x0A\x1B\x2C", 6)),
                                Integer(kSysServices, 25)});
    }));
    const std::string oids = kSysName + "," + kSysServices;
    Outcome out = Transact(0, oids, "", 2, 200, Form::Hex);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.values, "2,12,0040AF0A1B2C,1,25");
    EXPECT_EQ(out.valueSize, 22);

    // 20 bytes hold the answer as bytes ("2,6,......,1,25") but not as digits.
    EXPECT_EQ(Transact(0, oids, "", 2, 20).result, 0);
    out = Transact(0, oids, "", 2, 20, Form::Hex);
    EXPECT_EQ(out.result, 25012);
    EXPECT_EQ(out.valueSize, 23) << "the digits' text with its terminator";
}

TEST_F(TransactionTest, AValueWithoutATextFormFailsAGetButNotASet) {
    ScriptedAgent agent(AnswerNewest([](const ReceivedRequest& request) {
        return Answer(request, {{request.bindings.at(0).oid, kSnmpNull, {}}});
    }));
    EXPECT_EQ(Transact(0, kSysName, "", 1).result, 25012);
    EXPECT_EQ(Transact(2, kSysName, "1,5", 1).result, 0);
}

TEST_F(TransactionTest, ADeviceThatCannotBeNamedIsNotAsked) {
    ScriptedAgent agent(Echo());
    EXPECT_EQ(Transact(0, kSysName, "", 1, 200, Form::Bytes, 100, nullptr).result, 25010);
    EXPECT_EQ(Transact(0, kSysName, "", 1, 200, Form::Bytes, 100, "").result, 25010);
    EXPECT_EQ(Transact(0, kSysName, "", 1, 200, Form::Bytes, 100, "0040AF0000FF").result, 20004)
        << "the channel's own code: no device store entry";
    EXPECT_EQ(Transact(7, kSysName, "", 1).result, 25007);
    EXPECT_TRUE(agent.Requests().empty());
}

TEST_F(TransactionTest, KeepAliveSendsTheStatusGetWithoutWaiting) {
    WriteExchangeSettings(15, 5);
    ScriptedAgent agent(Silent());
    const auto start = steady_clock::now();
    EXPECT_EQ(HelperTrapKeepAlive(kAdapter.c_str()), 0);
    EXPECT_LT(steady_clock::now() - start, std::chrono::seconds(2));
    testsupport::Eventually([&] { return !agent.Requests().empty(); });
    const std::vector<ReceivedRequest> requests = agent.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].pduType, 0);
    EXPECT_EQ(requests[0].community, "k!r@o#v$e%t");
    ASSERT_EQ(requests[0].bindings.size(), 1u);
    EXPECT_EQ(requests[0].bindings[0].oid, kPrinterStatus);

    EXPECT_EQ(HelperTrapKeepAlive("0040AF0000FF"), 20004);
    EXPECT_EQ(HelperTrapKeepAlive(nullptr), 25010);
}

TEST_F(TransactionTest, AGroupIsReadWithOneGetInItsOrder) {
    ScriptedAgent agent(AnswerNewest([](const ReceivedRequest& request) {
        std::vector<SentBinding> bindings;
        for (const SentBinding& asked : request.bindings) {
            bindings.push_back(Integer(asked.oid, static_cast<std::int32_t>(bindings.size())));
        }
        return Answer(request, bindings);
    }));
    char values[200];
    std::int32_t size = sizeof values;
    EXPECT_EQ(HelperGetSNMPObjects(kAdapter.c_str(), 22, values, &size), 0);
    EXPECT_STREQ(values, "1,0,1,1,1,2,1,3");
    const std::vector<ReceivedRequest> requests = agent.Requests();
    ASSERT_EQ(requests.size(), 1u);
    ASSERT_EQ(requests[0].bindings.size(), 4u);
    EXPECT_EQ(requests[0].bindings[0].oid, kSysName);
    EXPECT_EQ(requests[0].bindings[1].oid, kSysLocation);
    EXPECT_EQ(requests[0].bindings[2].oid, kPrinterStatus);
    EXPECT_EQ(requests[0].bindings[3].oid, "1.3.6.1.4.1.32473.11.5.1.12.4.2.0");

    for (std::int32_t index : {-1, 26}) {
        size = sizeof values;
        EXPECT_EQ(HelperGetSNMPObjects(kAdapter.c_str(), index, values, &size), 25003) << index;
    }
    EXPECT_EQ(agent.Requests().size(), 1u) << "nothing is sent for a group that does not exist";
}

}  // namespace
}  // namespace snmp::test
