#include <cstring>

#include "netware/tests/NetWareFixture.h"

namespace {

class BinderyTest : public NetWareFixture {};

// The buffer holds exactly the capacity and the NUL: the sanitizer catches a write past it.
template <typename List>
Listed ListInto(std::uint32_t capacity, List list) {
    std::vector<char> buffer(capacity + 1, 'x');
    std::uint32_t length = capacity;
    std::int32_t count = -1;
    const NwResult result = list(buffer.data(), &length, &count);
    return {result, buffer.data(), count};
}

TEST_F(BinderyTest, LoginUpperCasesItsTextsAndRefusesAWrongPassword) {
    char server[] = "fs1", user[] = "admin", wrong[] = "guess", right[] = "Secret";
    EXPECT_EQ(NwBiLogin(server, user, wrong), kNwLoginRefused);
    EXPECT_STREQ(server, "FS1");
    EXPECT_STREQ(user, "ADMIN");
    EXPECT_STREQ(wrong, "GUESS");
    plat::NwConnection connection = 0;
    EXPECT_EQ(plat::NwConnectionByName("FS1", connection), plat::kNwNoConnection)
        << "a refused login leaves no connection open";
    EXPECT_EQ(NwBiLogin(server, user, right), kNwOk) << "passwords compare upper-cased";
    EXPECT_EQ(plat::NwConnectionByName("FS1", connection), plat::kNwSuccess)
        << "the logged-in connection stays";
    char nowhere[] = "NOSUCH";
    EXPECT_EQ(NwBiLogin(nowhere, user, right), kNwCannotConnect);
}

TEST_F(BinderyTest, ListsAreWrittenFromTheStartAndRefuseARecordThatDoesNotFit) {
    const auto fileServers = [](char* b, std::uint32_t* l, std::int32_t* c) { return NwListFs(b, l, c); };
    Listed all = ListInto(100, fileServers);
    EXPECT_EQ(all.result, kNwOk);
    EXPECT_EQ(all.text, "0003,FS1,0003,FS2");
    EXPECT_EQ(all.count, 2);
    // Two records take 18 characters: the second fits exactly, and not one character less.
    EXPECT_EQ(ListInto(18, fileServers).text, "0003,FS1,0003,FS2");
    Listed tight = ListInto(17, fileServers);
    EXPECT_EQ(tight.result, kNwDoesNotFit);
    EXPECT_EQ(tight.text, "0003,FS1,") << "the complete record before it stays, with its comma";
    EXPECT_EQ(tight.count, 1);

    Listed trees =
        ListInto(100, [](char* b, std::uint32_t* l, std::int32_t* c) { return NwListTrees(b, l, c); });
    EXPECT_EQ(trees.text, "0004,ACME");
    EXPECT_EQ(trees.count, 1);
}

TEST_F(BinderyTest, QueueListNeedsALoginAndPrintServerListIsEmptiedFirst) {
    const auto queues = [](char* b, std::uint32_t* l, std::int32_t* c) {
        return NwBiGetQueueList("FS1", b, l, c);
    };
    EXPECT_EQ(ListInto(100, queues).result, kNwLoginRequired);
    LogInToBindery();
    Listed listed = ListInto(100, queues);
    EXPECT_EQ(listed.result, kNwOk);
    EXPECT_EQ(listed.text, "0002,Q1,0002,Q2");
    char server[] = "FS2", user[] = "GUEST", password[] = "pw";
    ASSERT_EQ(NwBiLogin(server, user, password), kNwOk);
    const Listed none = ListInto(
        100, [](char* b, std::uint32_t* l, std::int32_t* c) { return NwBiGetQueueList("FS2", b, l, c); });
    EXPECT_EQ(none.result, kNwOk) << "a server without queues";
    EXPECT_EQ(none.text, "");
    EXPECT_EQ(none.count, 0);

    char buffer[64] = "old text";
    std::uint32_t length = 40;
    std::int32_t count = 7;
    ASSERT_EQ(NwBiGetPsList("FS2", buffer, &length, &count), kNwOk) << "FS2 has no print servers";
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(count, 0);
    length = 40;
    ASSERT_EQ(NwBiGetPsList("FS1", buffer, &length, &count), kNwOk);
    EXPECT_STREQ(buffer, "0003,PS1");
    EXPECT_EQ(length, 8u);
}

TEST_F(BinderyTest, VersionCutsTheTreesTrailingUnderscoresAndKeepsToTheBufferLength) {
    std::int32_t version = 0;
    char tree[40];
    std::uint32_t length = 33;
    ASSERT_EQ(NwGetVerInfo("FS1", &version, tree, &length), kNwOk);
    EXPECT_EQ(version, 4);
    EXPECT_STREQ(tree, "ACME");
    EXPECT_EQ(length, 4u);
    length = 3;
    std::memset(tree, 'x', sizeof tree);
    EXPECT_EQ(NwGetVerInfo("FS1", &version, tree, &length), kNwDoesNotFit);
    EXPECT_EQ(tree[0], 'x') << "nothing written past the length given";
    length = 33;
    ASSERT_EQ(NwGetVerInfo("FS2", &version, tree, &length), kNwOk);
    EXPECT_EQ(version, 3);
    EXPECT_STREQ(tree, "");
    EXPECT_EQ(length, 33u) << "left as it was";

    Seed({"server FS3 _MY_TREE"});
    ASSERT_EQ(NwGetVerInfo("FS3", &version, tree, &length), kNwOk);
    EXPECT_STREQ(tree, "_MY_TREE") << "underscores inside the name stay";
}

TEST_F(BinderyTest, AuthenticationStateFollowsTheLogins) {
    std::int32_t state = 0;
    ASSERT_EQ(NwStateOfAuthentication("FS1", &state), kNwOk);
    EXPECT_EQ(state, 1);
    char server[] = "FS2", user[] = "GUEST", password[] = "pw";
    ASSERT_EQ(NwBiLogin(server, user, password), kNwOk);
    ASSERT_EQ(NwStateOfAuthentication("FS2", &state), kNwOk);
    EXPECT_EQ(state, 3) << "a bindery-only server has no directory login";
    LogInToTree();
    ASSERT_EQ(NwStateOfAuthentication("FS1", &state), kNwOk);
    EXPECT_EQ(state, 4) << "FS1 is authenticated by the login to its tree";
}

TEST_F(BinderyTest, QueuesAreCreatedAndDeletedOnlyWhenLoggedIn) {
    EXPECT_EQ(NwBiCreateQueue("FS1", "NEWQ"), kNwLoginRequired);
    LogInToBindery();
    EXPECT_EQ(NwBiCreateQueue("FS1", "NEWQ"), kNwOk);
    EXPECT_EQ(NwBiCreateQueue("FS1", "newq"), kNwQueueNotCreated);
    EXPECT_EQ(NwBiDeleteQueue("FS1", "Q1"), kNwOk);
    EXPECT_EQ(NwBiDeleteQueue("FS1", "Q1"), kNwQueueNotDeleted);
    EXPECT_EQ(Show("FS1"),
              "user ADMIN\nqueue Q2\nprint-server PS1\nprinter PS1/P0\nqueue NEWQ volume=SYS\nok 5 objects");
}

TEST_F(BinderyTest, PrintServersAreCreatedWithAPrinterAndVerified) {
    EXPECT_EQ(NwBiVerifyPs("FS1", "PS2"), kNwPrintServerAbsent);
    EXPECT_EQ(NwBiCreatePrintServer("FS1", "PS2", "P1"), kNwPrintServerNotCreated)
        << "the library asks no login; the server refuses a client without one";
    LogInToBindery();
    EXPECT_EQ(NwBiCreatePrintServer("FS1", "PS2", "P1"), kNwOk);
    EXPECT_EQ(NwBiVerifyPs("FS1", "ps2"), kNwOk);
    EXPECT_EQ(NwBiCreatePrintServer("FS1", "PS2", "P1"), kNwPrintServerNotCreated);
    EXPECT_EQ(NwBiVerifyPs("NOSUCH", "PS2"), kNwCannotConnect);
}

TEST_F(BinderyTest, AServicedQueueIsSetUpOnceInTheBinderyAndOnTheCard) {
    char server[] = "fs1", queue[] = "q1", printServer[] = "ps2", printer[] = "p1";
    EXPECT_EQ(NwBiAddSerList(kAdapter, server, queue, 1, printServer, printer), kNwLoginRequired);
    LogInToBindery();
    ASSERT_EQ(NwBiAddSerList(kAdapter, server, queue, 1, printServer, printer), kNwOk);
    EXPECT_STREQ(printServer, "PS2");
    EXPECT_STREQ(printer, "P1");
    EXPECT_NE(Show("FS1").find("printer PS2/P1 configuration=1072 queue=Q1/1/10\n"), std::string::npos)
        << Show("FS1");
    std::uint32_t rows = 0;
    EXPECT_EQ(CardRows(&rows), "0006,FS1\\Q1,0001,1,0007,FS1\\PS2,0001,0");

    ASSERT_EQ(NwBiAddSerList(kAdapter, server, queue, 1, printServer, printer), kNwOk);
    CardRows(&rows);
    EXPECT_EQ(rows, 1u) << "a queue serviced already gets no second row";

    char missing[] = "NOQ";
    EXPECT_EQ(NwBiAddSerList(kAdapter, server, missing, 1, printServer, printer), kNwNoSuchQueue);

    ASSERT_EQ(NwBiRmSerList(kAdapter, server, queue, 1, printServer, printer), kNwOk);
    EXPECT_EQ(CardRows(&rows), "");
    EXPECT_NE(Show("FS1").find("printer PS2/P1 configuration=1072\n"), std::string::npos) << Show("FS1");
    EXPECT_EQ(NwBiRmSerList(kAdapter, server, queue, 1, printServer, printer), kNwNoSuchRow)
        << "nothing left to retire";
}

TEST_F(BinderyTest, RemovingFromAMissingPrintServerStillRetiresTheCardsRow) {
    LogInToBindery();
    ASSERT_EQ(NwSNMPAddServiceRow(kAdapter, "FS1\\Q2", "FS1\\GONE", 2), kNwOk);
    char server[] = "FS1", queue[] = "Q2", printServer[] = "GONE", printer[] = "P9";
    EXPECT_EQ(NwBiRmSerList(kAdapter, server, queue, 2, printServer, printer), kNwOk);
    EXPECT_EQ(CardRows(), "");
}

TEST_F(BinderyTest, ModifyModeMovesTheQueueToAnotherPrintServerAndChangesTheRow) {
    LogInToBindery();
    char server[] = "FS1", queue[] = "Q2", printServer[] = "PS1", printer[] = "P0";
    ASSERT_EQ(NwBiAddSerList(kAdapter, server, queue, 1, printServer, printer), kNwOk);
    ASSERT_EQ(NwSNMPModifyMode(kAdapter, server, "q2", "ps1", "PS3", "P0", "P3", 2), kNwOk);
    EXPECT_EQ(CardRows(), "0006,FS1\\Q2,0001,2,0007,FS1\\PS3,0001,0");
    const std::string objects = Show("FS1");
    EXPECT_NE(objects.find("printer PS1/P0\n"), std::string::npos) << objects;
    EXPECT_NE(objects.find("printer PS3/P3 configuration=1072 queue=Q2/1/10\n"), std::string::npos)
        << objects;
    EXPECT_EQ(NwSNMPModifyMode(kAdapter, server, "Q2", "PS1", "PS4", "P0", "P4", 2), kNwNoSuchRow);
}

TEST_F(BinderyTest, MissingArgumentsAreRefusedNotFollowed) {
    char server[] = "FS1", user[] = "ADMIN";
    std::uint32_t length = 10;
    std::int32_t count = 0;
    std::int32_t version = 0;
    char tree[] = "ACME";
    EXPECT_EQ(NwBiLogin(server, user, nullptr), kNwCannotConnect);
    EXPECT_EQ(NwListFs(nullptr, &length, &count), kNwDoesNotFit);
    EXPECT_EQ(NwBiGetPsList("FS1", nullptr, nullptr, nullptr), kNwDoesNotFit);
    EXPECT_EQ(NwGetVerInfo("FS1", &version, tree, nullptr), kNwDoesNotFit);
    EXPECT_EQ(NwNdsGetContext(tree, nullptr, &length), kNwDoesNotFit);
    EXPECT_EQ(NwBiAddSerList(kAdapter, server, nullptr, 1, server, user), kNwCannotConnect);
}

}  // namespace
