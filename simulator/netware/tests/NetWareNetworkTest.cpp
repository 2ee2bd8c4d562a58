#include "simulator/netware/NetWareNetwork.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/lan/LanHooks.h"
#include "platform/netware/NetWareClient.h"

namespace {

using namespace plat;

// The client in this process against a network seeded with two bindery servers.
class NetWareNetworkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(network.Start(error)) << error;
        for (const char* line :
             {"server FS1 ACME", "server FS2", "user FS1 ADMIN Secret", "queue FS1 Q1", "queue FS1 Q2",
              "queue FS1 Q3", "print-server FS1 PS1", "printer FS1 PS1 P0"}) {
            ASSERT_EQ(network.Control(line), "ok") << line;
        }
    }
    void TearDown() override {
        // The client's connections live as long as the process: drop them between tests.
        for (const char* server : {"FS1", "FS2"}) {
            NwConnection connection = 0;
            if (NwConnectionByName(server, connection) == kNwSuccess) {
                NwCloseConnection(connection);
            }
        }
    }

    NwConnection Open(const char* server) {
        NwConnection connection = 0;
        EXPECT_EQ(NwOpenConnection(server, connection), kNwSuccess);
        return connection;
    }
    // A connection to FS1 logged in as its supervisor, who may change what it holds.
    NwConnection OpenAsAdmin() {
        const NwConnection connection = Open("FS1");
        EXPECT_EQ(NwBinderyLogin(connection, "ADMIN", kNwUserObject, "SECRET"), kNwSuccess);
        return connection;
    }

    // One call of the client numbered `session`, sent as its next request; the reply's code and
    // fields.
    NwCode Call(std::uint32_t session, const std::vector<std::string>& fields,
                std::vector<std::string>* out = nullptr) {
        const NetWareMessage request{false, session, ++requests_[session], 0, fields};
        const std::optional<NetWareMessage> reply = network.Handle(request);
        EXPECT_TRUE(reply);
        if (out != nullptr && reply) {
            *out = reply->fields;
        }
        return reply ? reply->code : kNwBadRequest;
    }

    sim::NetWareNetwork network;
    std::map<std::uint32_t, std::uint32_t> requests_;  // the last request id of each session
};

TEST_F(NetWareNetworkTest, ConnectionsAreFoundByNameOnceOpenAndLoginComparesUpperCasedPasswords) {
    EXPECT_EQ(NwInitializeClient(), kNwSuccess);
    NwConnection connection = 0;
    EXPECT_EQ(NwConnectionByName("fs1", connection), kNwNoConnection);
    EXPECT_EQ(NwOpenConnection("NOSUCH", connection), kNwNoSuchObject);
    connection = Open("fs1");
    NwConnection found = 0;
    ASSERT_EQ(NwConnectionByName("FS1", found), kNwSuccess);
    EXPECT_EQ(found, connection);

    std::uint32_t value = 9;
    ASSERT_EQ(NwAuthenticationValue(connection, value), kNwSuccess);
    EXPECT_EQ(value, kNwNotAuthenticated);
    EXPECT_EQ(NwBinderyLogin(connection, "ADMIN", kNwUserObject, "wrong"), kNwPasswordRefused);
    EXPECT_EQ(NwBinderyLogin(connection, "NOBODY", kNwUserObject, "SECRET"), kNwNoSuchObject);
    EXPECT_EQ(NwBinderyLogin(connection, "admin", kNwUserObject, "SECRET"), kNwSuccess);
    ASSERT_EQ(NwAuthenticationValue(connection, value), kNwSuccess);
    EXPECT_EQ(value, kNwBinderyAuthenticated);

    std::string tree;
    ASSERT_EQ(NwConnectionTree(connection, tree), kNwSuccess);
    EXPECT_EQ(tree, "ACME" + std::string(28, '_'));
    EXPECT_EQ(NwConnectionTree(Open("FS2"), tree), kNwNoTree);

    ASSERT_EQ(NwCloseConnection(connection), kNwSuccess);
    EXPECT_EQ(NwConnectionByName("FS1", found), kNwNoConnection);
    EXPECT_EQ(NwAuthenticationValue(connection, value), kNwBadHandle);
}

TEST_F(NetWareNetworkTest, ScansGoThroughEveryEntryAndEndWithTheirEndCode) {
    NwConnection connection = 0;
    ASSERT_EQ(NwDefaultConnection(connection), kNwSuccess) << "attaches to the nearest server";
    std::vector<std::string> servers;
    std::int32_t objectId = -1;
    std::string name;
    while (NwScanBinderyObject(connection, "*", kNwFileServerObject, objectId, name) == kNwSuccess) {
        servers.push_back(name);
    }
    EXPECT_EQ(servers, (std::vector<std::string>{"FS1", "FS2"}));

    std::vector<std::string> queues;
    NwScan scan = 0;
    NwCode code = NwQueueScanStart(connection, scan, name);
    for (; code == kNwSuccess; code = NwScanNext(scan, name)) {
        queues.push_back(name);
    }
    EXPECT_EQ(code, kNwEndOfScan);
    EXPECT_EQ(NwScanEnd(scan), kNwSuccess);
    EXPECT_EQ(queues, (std::vector<std::string>{"Q1", "Q2", "Q3"}));

    const NwTarget bindery{NwTarget::Bindery, connection};
    ASSERT_EQ(NwPrinterScanStart(bindery, "ps1", scan, name), kNwSuccess);
    EXPECT_EQ(name, "P0");
    EXPECT_EQ(NwScanNext(scan, name), kNwEndOfScan);
    EXPECT_EQ(NwPrinterScanStart(bindery, "PS9", scan, name), kNwNoPrintServer);
}

TEST_F(NetWareNetworkTest, AFaultHitsTheKthCallOfItsKindOnlyAndEveryCallIsLogged) {
    const NwConnection connection = Open("FS1");
    ASSERT_EQ(network.Control("log clear"), "ok");
    ASSERT_EQ(network.Control("fault queue-scan 2 30007"), "ok");
    std::string name;
    NwScan scan = 0;
    ASSERT_EQ(NwQueueScanStart(connection, scan, name), kNwSuccess);
    EXPECT_EQ(NwScanNext(scan, name), 30007) << "the second call, mid-scan";
    EXPECT_EQ(NwScanNext(scan, name), kNwSuccess) << "the scan goes on where it was";
    EXPECT_EQ(name, "Q2");
    EXPECT_EQ(network.Control("log"),
              "queue-scan 1 0 -> 0\nqueue-scan 1 1 -> 30007\nqueue-scan 1 1 -> 0\nok 3 calls");
}

TEST_F(NetWareNetworkTest, ObjectsMadeByTheClientShowThroughTheControlChannel) {
    const NwTarget bindery{NwTarget::Bindery, OpenAsAdmin()};
    EXPECT_EQ(NwCreateQueue(bindery, "NEWQ", ""), kNwSuccess);
    EXPECT_EQ(NwCreateQueue(bindery, "newq", ""), kNwObjectExists);
    EXPECT_EQ(NwCreatePrintServer(bindery, "PS2"), kNwSuccess);
    EXPECT_EQ(NwCreatePrinter(bindery, "PS2", "P1"), kNwSuccess);
    EXPECT_EQ(NwAddAttributeValue(bindery, "PS2", "P1", kNwServicedQueues, {"newq", 1, 10}), kNwSuccess);
    EXPECT_EQ(NwAddAttributeValue(bindery, "PS2", "P1", kNwServicedQueues, {"NOQ", 1, 10}), kNwNoSuchObject);
    EXPECT_EQ(NwAddAttributeValue(bindery, "PS2", "P1", kNwPrinterConfiguration,
                                  {NwDefaultPrinterConfiguration(), 0, 0}),
              kNwSuccess);
    EXPECT_EQ(NwDeleteQueue(bindery, "Q3"), kNwSuccess);
    EXPECT_EQ(network.Control("show FS1"),
              "user ADMIN\nqueue Q1\nqueue Q2\nprint-server PS1\nprinter PS1/P0\nqueue NEWQ volume=SYS\n"
              "print-server PS2\nprinter PS2/P1 configuration=1072 queue=NEWQ/1/10\nok 8 objects");
}

// Every change of the print services needs a supervisor's login: a client without a login, or with
// an ordinary user's, is refused with the code a server gives for the right it lacks, and nothing
// changes. A directory login speaks for the file servers of its tree.
TEST_F(NetWareNetworkTest, ChangesNeedASupervisorAndARefusalNamesTheMissingRight) {
    for (const char* line : {"user FS1 CLERK pw ordinary", "tree ACME", "object ACME container ORG",
                             "object ACME user BOSS.ORG pw", "object ACME user CLERK.ORG pw ordinary",
                             "object ACME volume SYS.ORG"}) {
        ASSERT_EQ(network.Control(line), "ok") << line;
    }
    EXPECT_NE(network.Control("show FS1").find("user CLERK rights=ordinary\n"), std::string::npos);
    const std::vector<std::string> binderyLogin[] = {{"bindery-login", "1", "CLERK", "256", "pw"},
                                                     {"bindery-login", "1", "ADMIN", "256", "secret"}};
    const std::vector<std::string> directoryLogin[] = {{"directory-login", "ACME", "ORG", "CLERK", "pw"},
                                                       {"directory-login", "ACME", "ORG", "BOSS", "pw"}};
    struct Session {
        const char* name;
        std::vector<std::string> login;  // empty: none
        bool bindery;                    // the changes go to FS1's bindery, else to the tree's ORG
        bool supervisor;
    };
    const Session sessions[] = {
        {"no login", {}, true, false},
        {"no login, tree", {}, false, false},
        {"ordinary", binderyLogin[0], true, false},
        {"ordinary, tree", directoryLogin[0], false, false},
        {"ordinary by the tree, on its server", directoryLogin[0], true, false},
        {"supervisor", binderyLogin[1], true, true},
        {"supervisor, tree", directoryLogin[1], false, true},
        {"supervisor by the tree, on its server", directoryLogin[1], true, true},
    };
    const std::string objects = network.Control("show FS1") + network.Control("show ACME");
    std::uint32_t number = 100;
    for (const Session& session : sessions) {
        SCOPED_TRACE(session.name);
        ++number;
        ASSERT_EQ(Call(number, {"attach", "FS1"}), kNwSuccess);
        if (!session.login.empty()) {
            ASSERT_EQ(Call(number, session.login), kNwSuccess);
        }
        const std::string n = std::to_string(number);
        const std::string queue = "NEWQ" + n, printServer = "PS" + n, printer = "P" + n;
        // Each change as a supervisor makes them, one after the other, with what a bindery refuses.
        const std::pair<std::vector<std::string>, NwCode> changes[] = {
            {{"create-queue", queue, session.bindery ? "" : "SYS"}, kNwNoObjectCreateRight},
            {{"create-ps", printServer}, kNwNoObjectCreateRight},
            {{"create-printer", printServer, printer}, kNwNoObjectCreateRight},
            {{"add-value", printServer, printer, "26", queue, "1", "10"}, kNwNoPropertyWriteRight},
            {{"add-value", printServer, printer, "3", "configuration", "0", "0"}, kNwNoPropertyWriteRight},
            {{"remove-value", printServer, printer, "26", queue, "1", "10"}, kNwNoPropertyWriteRight},
            {{"delete-queue", queue}, kNwNoObjectDeleteRight},
        };
        for (const auto& [change, binderyRefusal] : changes) {
            std::vector<std::string> fields = {change[0]};
            const std::vector<std::string> place = session.bindery
                                                       ? std::vector<std::string>{"0", "1", ""}
                                                       : std::vector<std::string>{"1", "ACME", "ORG"};
            fields.insert(fields.end(), place.begin(), place.end());
            fields.insert(fields.end(), change.begin() + 1, change.end());
            const NwCode refusal = session.bindery ? binderyRefusal : kNwNoAccess;
            EXPECT_EQ(Call(number, fields), session.supervisor ? kNwSuccess : refusal) << change[0];
        }
        if (!session.supervisor) {
            EXPECT_EQ(network.Control("show FS1") + network.Control("show ACME"), objects);
        }
    }
    std::vector<std::string> reply;
    EXPECT_EQ(Call(101, {"queue-scan", "1", "0"}, &reply), kNwSuccess) << "reading needs no right";
    EXPECT_EQ(reply, std::vector<std::string>{"Q1"});
}

TEST_F(NetWareNetworkTest, ARepeatedRequestGetsTheSameReplyWithoutASecondCallAndAnOlderOneNone) {
    NetWareMessage request;
    request.session = 77;
    request.id = 5;
    request.fields = {"attach", "FS1"};
    const std::optional<NetWareMessage> first = network.Handle(request);
    const std::optional<NetWareMessage> again = network.Handle(request);
    ASSERT_TRUE(first && again);
    EXPECT_EQ(first->code, kNwSuccess);
    EXPECT_EQ(again->fields, first->fields);
    request.id = 6;
    EXPECT_NE(network.Handle(request)->fields, first->fields) << "a new request attaches anew";
    request.id = 5;
    EXPECT_FALSE(network.Handle(request)) << "a late copy of an answered request";
    request.session = 78;
    EXPECT_TRUE(network.Handle(request)) << "another client numbers its own";

    request.id = 7;
    for (const std::vector<std::string>& unreadable :
         {std::vector<std::string>{"attach"}, {"no-such-call"}, {}, {"scan-objects", "1", "*", "x", "-1"}}) {
        request.fields = unreadable;
        ++request.id;
        EXPECT_EQ(network.Handle(request)->code, kNwBadRequest) << request.id;
    }
}

TEST_F(NetWareNetworkTest, TheNetworkRemembersTheLatestClientsOnly) {
    NetWareMessage request{false, 1, 1, 0, {"attach", "FS1"}};
    ASSERT_EQ(network.Handle(request)->fields.at(0), "1");
    request.fields = {"nearest"};
    for (std::uint32_t session = 2; session <= 1024; ++session) {
        request.session = session;
        network.Handle(request);
    }
    request = {false, 1, 2, 0, {"auth-value", "1"}};
    EXPECT_EQ(network.Handle(request)->code, kNwSuccess) << "1024 clients are remembered";
    request = {false, 1025, 1, 0, {"nearest"}};
    network.Handle(request);
    request = {false, 1, 3, 0, {"auth-value", "1"}};
    EXPECT_EQ(network.Handle(request)->code, kNwBadHandle) << "the first one heard is forgotten";
}

TEST_F(NetWareNetworkTest, ALateReplyIsTakenAndARequestSentAgainIsCarriedOutOnce) {
    const NwTarget bindery{NwTarget::Bindery, OpenAsAdmin()};
    ASSERT_EQ(network.Control("log clear"), "ok");
    // Each way takes longer than the client waits for a reply: it sends the request again.
    SetLanDelay(300);
    EXPECT_EQ(NwCreateQueue(bindery, "SLOWQ", ""), kNwSuccess);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));  // until the second copy is in
    SetLanDelay(0);
    EXPECT_EQ(network.Control("log"), "create-queue 0 1 \"\" SLOWQ \"\" -> 0\nok 1 calls");
    std::string name;
    NwScan scan = 0;
    EXPECT_EQ(NwQueueScanStart(bindery.handle, scan, name), kNwSuccess) << "the next call is not confused";
    EXPECT_EQ(name, "Q1");
    NwScanEnd(scan);
}

TEST_F(NetWareNetworkTest, ControlLinesThatCannotBeCarriedOutAreRefused) {
    for (const char* line :
         {"server FS1", "user NOSUCH U P", "user FS1 BOB pw guest", "queue FS1 q1", "printer FS1 NOPS P",
          "tree", "object NOTREE queue Q", "fault queue-scan 0 1", "pass 0", "show NOTHING", "frobnicate"}) {
        EXPECT_EQ(network.Control(line).rfind("error ", 0), 0u) << line;
    }
}

}  // namespace
