// The exports against a network that refuses changes to whoever lacks the right: an ordinary user,
// or a client that has not logged in where the library asks no login first. Each refusal gives the
// export's own code, and neither the directory nor the card's service table changes.
#include <functional>

#include "netware/tests/NetWareFixture.h"

namespace {

enum Login { kNone, kOrdinaryBindery, kOrdinaryTree };

struct RightsCase {
    const char* name;
    Login login;
    std::function<NwResult()> call;
    NwResult expected;
    bool servedBefore = false;  // the supervisor has put Q2 on PS1's printer P0 first
};

void PrintTo(const RightsCase& rights, std::ostream* out) {
    *out << rights.name;
}

// FS1's Q1 on a printer of a print server.
NwResult BinderyAdd(const char* printServer, const char* printer) {
    char server[] = "FS1", queue[] = "Q1", psText[16], printerText[16];
    std::snprintf(psText, sizeof psText, "%s", printServer);
    std::snprintf(printerText, sizeof printerText, "%s", printer);
    return NwBiAddSerList(NetWareFixture::kAdapter, server, queue, 1, psText, printerText);
}

NwResult BinderyRemoveQ2() {
    char server[] = "FS1", queue[] = "Q2", printServer[] = "PS1", printer[] = "P0";
    return NwBiRmSerList(NetWareFixture::kAdapter, server, queue, 1, printServer, printer);
}

NwResult DirectoryCreateQueue() {
    char tree[] = "ACME";
    return NwNdsCreateQueue(tree, "NEWQ", "ENG.ORG", "SYS.ORG");
}

NwResult DirectoryDeleteQueue() {
    char tree[] = "ACME";
    return NwNdsDeleteQueue(tree, "Q1", "ENG.ORG");
}

const RightsCase kCases[] = {
    {"BiCreateQueueWithoutLogin", kNone, [] { return NwBiCreateQueue("FS1", "NEWQ"); }, kNwLoginRequired},
    {"BiCreateQueueOrdinary", kOrdinaryBindery, [] { return NwBiCreateQueue("FS1", "NEWQ"); },
     kNwQueueNotCreated},
    {"BiDeleteQueueOrdinary", kOrdinaryBindery, [] { return NwBiDeleteQueue("FS1", "Q1"); },
     kNwQueueNotDeleted},
    // The library asks no login before these: the server refuses.
    {"BiCreatePsWithoutLogin", kNone, [] { return NwBiCreatePrintServer("FS1", "PS2", "P2"); },
     kNwPrintServerNotCreated},
    {"BiCreatePsOrdinary", kOrdinaryBindery, [] { return NwBiCreatePrintServer("FS1", "PS2", "P2"); },
     kNwPrintServerNotCreated},
    {"NdsDeleteQueueWithoutLogin", kNone, DirectoryDeleteQueue, kNwQueueNotDeleted},
    {"BiAddWithoutLogin", kNone, [] { return BinderyAdd("PS7", "P7"); }, kNwLoginRequired},
    {"BiAddPsOrdinary", kOrdinaryBindery, [] { return BinderyAdd("PS8", "P8"); }, kNwPrintServerNotCreated},
    {"BiAddPrinterOrdinary", kOrdinaryBindery, [] { return BinderyAdd("PS7", "P7"); }, kNwPrinterNotCreated},
    {"BiAddEntryOrdinary", kOrdinaryBindery, [] { return BinderyAdd("PS1", "P0"); }, kNwQueueNotAdded},
    {"BiRemoveOrdinary", kOrdinaryBindery, BinderyRemoveQ2, kNwQueueNotRemoved, true},
    {"ModifyModeOrdinary", kOrdinaryBindery,
     [] {
         char server[] = "FS1";
         return NwSNMPModifyMode(NetWareFixture::kAdapter, server, "Q2", "PS1", "PS7", "P0", "P7", 2);
     },
     kNwQueueNotRemoved, true},
    {"NdsCreateQueueWithoutLogin", kNone, DirectoryCreateQueue, kNwLoginRequired},
    {"NdsCreateQueueOrdinary", kOrdinaryTree, DirectoryCreateQueue, kNwQueueNotCreated},
    {"NdsDeleteQueueOrdinary", kOrdinaryTree, DirectoryDeleteQueue, kNwQueueNotDeleted},
    {"NdsCreatePsOrdinary", kOrdinaryTree,
     [] {
         char tree[] = "ACME";
         return NwNdsCreatePs(tree, "PS2", "ENG.ORG", "PR2");
     },
     kNwPrintServerNotCreated},
    {"NdsAddPrinterOrdinary", kOrdinaryTree,
     [] {
         char tree[] = "ACME";
         return NwNdsAddSerList(NetWareFixture::kAdapter, tree, "Q1", "ENG.ORG", 3, "PS7", "SALES.ORG",
                                "PR7");
     },
     kNwPrinterNotCreated},
};

// NetWareFixture's network with the ordinary user CLERK on FS1 and in ORG, and the print servers PS7
// of FS1 and PS7.SALES.ORG without printers.
class RightsFixture : public NetWareFixture {
  protected:
    void SetUp() override {
        NetWareFixture::SetUp();
        Seed({"user FS1 CLERK pw ordinary", "object ACME user CLERK.ORG pw ordinary", "print-server FS1 PS7",
              "object ACME print-server PS7.SALES.ORG"});
    }
};

class RightsTest : public RightsFixture, public ::testing::WithParamInterface<RightsCase> {};

TEST_P(RightsTest, ARefusedChangeGivesTheExportsCodeAndChangesNothing) {
    const RightsCase& rights = GetParam();
    if (rights.servedBefore) {
        LogInToBindery();
        char server[] = "FS1", queue[] = "Q2", printServer[] = "PS1", printer[] = "P0";
        ASSERT_EQ(NwBiAddSerList(kAdapter, server, queue, 1, printServer, printer), kNwOk);
    }
    if (rights.login == kOrdinaryBindery) {
        char server[] = "FS1", user[] = "CLERK", password[] = "pw";
        ASSERT_EQ(NwBiLogin(server, user, password), kNwOk);
    } else if (rights.login == kOrdinaryTree) {
        char tree[] = "ACME";
        ASSERT_EQ(NwNdsLogin(tree, "CLERK", "ORG", "pw"), kNwOk);
    }
    const std::string directory = Show("FS1") + Show("ACME");
    const std::string card = CardRows();

    EXPECT_EQ(rights.call(), rights.expected);
    EXPECT_EQ(Show("FS1") + Show("ACME"), directory);
    EXPECT_EQ(CardRows(), card);
}

INSTANTIATE_TEST_SUITE_P(Refusals, RightsTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// What the ordinary user was refused, the supervisor does.
TEST_F(RightsFixture, TheSupervisorMakesTheChangesTheOrdinaryUserWasRefused) {
    char server[] = "FS1", user[] = "CLERK", password[] = "pw";
    ASSERT_EQ(NwBiLogin(server, user, password), kNwOk);
    ASSERT_EQ(BinderyAdd("PS7", "P7"), kNwPrinterNotCreated);
    LogInToBindery();
    EXPECT_EQ(BinderyAdd("PS7", "P7"), kNwOk);
    EXPECT_NE(Show("FS1").find("printer PS7/P7 configuration=1072 queue=Q1/1/10\n"), std::string::npos);
    EXPECT_EQ(CardRows(), "0006,FS1\\Q1,0001,1,0007,FS1\\PS7,0001,0");
}

}  // namespace
