#include <functional>

#include "netware/tests/NetWareFixture.h"

namespace {

enum Login { kNone, kBindery, kTree };

// One export meeting a refusal of the network: the fault "CALL K CODE" fails the K-th call of CALL.
struct FaultCase {
    const char* name;
    Login login;
    const char* fault;
    std::function<NwResult()> call;
    NwResult expected;
    std::uint32_t cardRows = 0;
};

NwResult BinderyAdd(const char* queue, const char* printServer) {
    char server[] = "FS1", queueText[16], psText[16], printer[] = "P7";
    std::snprintf(queueText, sizeof queueText, "%s", queue);
    std::snprintf(psText, sizeof psText, "%s", printServer);
    return NwBiAddSerList(NetWareFixture::kAdapter, server, queueText, 1, psText, printer);
}

NwResult DirectoryAdd() {
    char tree[] = "ACME";
    return NwNdsAddSerList(NetWareFixture::kAdapter, tree, "Q1", "ENG.ORG", 3, "PS7", "SALES.ORG", "PR7");
}

NwResult QueueList() {
    char buffer[100];
    std::uint32_t length = 99;
    std::int32_t count = 0;
    return NwBiGetQueueList("FS1", buffer, &length, &count);
}

NwResult Browse() {
    char tree[] = "ACME", buffer[200];
    std::uint32_t length = 199;
    std::int32_t count = 0;
    return NwNdsBrowse(tree, "ENG.ORG", "QUEUE", buffer, &length, &count);
}

NwResult TreeLogin() {
    char tree[] = "ACME";
    return NwNdsLogin(tree, "ADMIN", "ORG", "secret");
}

NwResult BinderyLogin() {
    char server[] = "FS1", user[] = "ADMIN", password[] = "secret";
    return NwBiLogin(server, user, password);
}

const FaultCase kCases[] = {
    {"ListFsWithoutServer", kNone, "nearest 1 -1",
     [] {
         char buffer[32];
         std::uint32_t length = 31;
         std::int32_t count = 0;
         return NwListFs(buffer, &length, &count);
     },
     kNwCannotConnect},
    {"BiLoginUnreachable", kNone, "attach 1 -1", BinderyLogin, kNwCannotConnect},
    {"BiLoginRefused", kNone, "bindery-login 1 -1", BinderyLogin, kNwLoginRefused},
    {"QueueListStart", kBindery, "queue-scan 1 -1", QueueList, kNwQueueScanFailed},
    {"QueueListLoginUnread", kBindery, "auth-value 1 -1", QueueList, kNwCannotConnect},
    {"PsListStart", kNone, "ps-scan 1 -1",
     [] {
         char buffer[32];
         std::uint32_t length = 31;
         std::int32_t count = 0;
         return NwBiGetPsList("FS1", buffer, &length, &count);
     },
     kNwPrintServerScanFailed},
    {"AuthenticationUnread", kNone, "auth-value 1 -1",
     [] {
         std::int32_t state = 0;
         return NwStateOfAuthentication("FS1", &state);
     },
     kNwAuthenticationUnread},
    {"BiCreateQueue", kBindery, "create-queue 1 -1", [] { return NwBiCreateQueue("FS1", "NEWQ"); },
     kNwQueueNotCreated},
    {"BiDeleteQueue", kBindery, "delete-queue 1 -1", [] { return NwBiDeleteQueue("FS1", "Q1"); },
     kNwQueueNotDeleted},
    {"BiCreatePs", kBindery, "create-ps 1 -1", [] { return NwBiCreatePrintServer("FS1", "PS7", "P7"); },
     kNwPrintServerNotCreated},
    {"BiCreatePsPrinter", kBindery, "create-printer 1 -1",
     [] { return NwBiCreatePrintServer("FS1", "PS7", "P7"); }, kNwPrintServerNotCreated},
    {"BiVerifyPs", kNone, "ps-exists 1 -1", [] { return NwBiVerifyPs("FS1", "PS1"); }, kNwBinderyReadFailed},
    {"NdsVerifyPs", kNone, "ps-exists 1 -1",
     [] {
         char tree[] = "ACME";
         return NwNdsVerifyPs(tree, "PS1", "ENG.ORG");
     },
     kNwBrowseFailed},
    {"BiAddQueueUnread", kBindery, "queue-exists 1 -1", [] { return BinderyAdd("Q1", "PS7"); },
     kNwNoSuchQueue},
    {"BiAddPsNotCreated", kBindery, "create-ps 1 -1", [] { return BinderyAdd("Q1", "PS7"); },
     kNwPrintServerNotCreated},
    {"BiAddPrinterNotConfigured", kBindery, "add-value 1 -1", [] { return BinderyAdd("Q1", "PS7"); },
     kNwPrinterNotCreated},
    {"BiAddEntryRefused", kBindery, "add-value 2 -1", [] { return BinderyAdd("Q1", "PS7"); },
     kNwQueueNotAdded},
    {"NoFaultSetsUpWithOneRow", kBindery, "", [] { return BinderyAdd("Q1", "PS7"); }, kNwOk, 1},
    {"BiRemoveEntryRefused", kBindery, "remove-value 1 -1",
     [] {
         char server[] = "FS1", queue[] = "Q1", printServer[] = "PS7", printer[] = "P7";
         EXPECT_EQ(BinderyAdd("Q1", "PS7"), kNwOk);
         return NwBiRmSerList(NetWareFixture::kAdapter, server, queue, 1, printServer, printer);
     },
     kNwQueueNotRemoved, 1},
    {"NdsLoginPreferredTree", kNone, "tree-exists 1 -1", TreeLogin, kNwCannotConnect},
    {"NdsLoginContext", kNone, "container-exists 2 -1", TreeLogin, kNwCannotConnect},
    {"NdsLoginRefused", kNone, "directory-login 1 -1", TreeLogin, kNwLoginRefused},
    {"NdsTreeNotSeen", kNone, "tree-scan 1 -1", Browse, kNwUnknownTree},
    {"NdsBrowseFirstPass", kNone, "list-objects 1 -1", Browse, kNwBrowseFailed},
    {"NdsContextNotMade", kNone, "current-context 1 -1",
     [] {
         char tree[] = "ACME", buffer[64];
         std::uint32_t length = 63;
         return NwNdsGetContext(tree, buffer, &length);
     },
     kNwCannotConnect},
    {"NdsCreateQueue", kTree, "create-queue 1 -1",
     [] {
         char tree[] = "ACME";
         return NwNdsCreateQueue(tree, "NEWQ", "ENG.ORG", "SYS.ORG");
     },
     kNwQueueNotCreated},
    {"NdsDeleteQueue", kNone, "delete-queue 1 -1",
     [] {
         char tree[] = "ACME";
         return NwNdsDeleteQueue(tree, "Q1", "ENG.ORG");
     },
     kNwQueueNotDeleted},
    {"NdsRemoveEntryRefused", kTree, "remove-value 1 -1",
     [] {
         char tree[] = "ACME";
         EXPECT_EQ(DirectoryAdd(), kNwOk);
         return NwNdsRmSerList(NetWareFixture::kAdapter, tree, "Q1", "ENG.ORG", 3, "PS7", "SALES.ORG", "PR7");
     },
     kNwQueueNotRemoved, 1},
    {"NdsAddPrinterNotCreated", kTree, "create-printer 1 -1", DirectoryAdd, kNwPrinterNotCreated},
    {"NdsAddPrinterNotConfigured", kTree, "add-value 1 -1", DirectoryAdd, kNwPrinterNotCreated},
    {"NdsAddEntryRefused", kTree, "add-value 2 -1", DirectoryAdd, kNwQueueNotAdded},
};

class FaultTest : public NetWareFixture, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultTest, TheExportGivesItsCodeAndTheCardsTableFollowsTheDirectory) {
    const FaultCase& fault = GetParam();
    if (fault.login == kBindery) {
        LogInToBindery();
    } else if (fault.login == kTree) {
        LogInToTree();
    }
    if (*fault.fault != '\0') {
        Seed({std::string("fault ") + fault.fault});
    }
    EXPECT_EQ(fault.call(), fault.expected);
    std::uint32_t rows = 0;
    CardRows(&rows);
    EXPECT_EQ(rows, fault.cardRows) << "a row only for a queue the directory services";
}

INSTANTIATE_TEST_SUITE_P(Refusals, FaultTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

class FaultEffectsTest : public NetWareFixture {};

TEST_F(FaultEffectsTest, AQueueListFailingPartWayKeepsTheRecordsBefore) {
    LogInToBindery();
    Seed({"fault queue-scan 2 -1"});
    char buffer[100];
    std::uint32_t length = 99;
    std::int32_t count = 0;
    EXPECT_EQ(NwBiGetQueueList("FS1", buffer, &length, &count), kNwQueueScanFailed);
    EXPECT_STREQ(buffer, "0002,Q1,");
    EXPECT_EQ(count, 1);
}

TEST_F(FaultEffectsTest, ARefusedDirectoryEntryIsTakenBackAndWhatWasMadeBeforeStays) {
    LogInToTree();
    Seed({"fault add-value 2 -1"});
    ASSERT_EQ(DirectoryAdd(), kNwQueueNotAdded);
    const std::string objects = Show("ACME");
    EXPECT_NE(objects.find("print-server PS7.SALES.ORG printer=PR7.SALES.ORG\n"), std::string::npos)
        << objects;
    EXPECT_NE(objects.find("printer PR7.SALES.ORG configuration=1072\n"), std::string::npos) << objects;
    EXPECT_NE(network.Control("log").find(
                  "remove-value 1 ACME [Root] .PS7.SALES.ORG .PR7.SALES.ORG 26 .Q1.ENG.ORG 1 10 ->"),
              std::string::npos);
}

TEST_F(FaultEffectsTest, ModifyModeStopsAtTheDirectoryFailureAndLeavesTheRow) {
    LogInToBindery();
    ASSERT_EQ(BinderyAdd("Q2", "PS1"), kNwOk);
    Seed({"fault create-ps 1 -1"});
    char server[] = "FS1";
    EXPECT_EQ(NwSNMPModifyMode(NetWareFixture::kAdapter, server, "Q2", "PS1", "PS8", "P7", "P8", 2),
              kNwPrintServerNotCreated);
    EXPECT_EQ(CardRows(), "0006,FS1\\Q2,0001,1,0007,FS1\\PS1,0001,0");
}

}  // namespace
