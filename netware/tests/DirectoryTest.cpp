#include <cstring>

#include "netware/tests/NetWareFixture.h"

namespace {

class DirectoryTest : public NetWareFixture {
  protected:
    Listed Browse(const char* context, const char* className, std::uint32_t capacity = 7000) {
        std::vector<char> buffer(capacity + 1);
        std::uint32_t length = capacity;
        std::int32_t count = -1;
        char tree[] = "acme";
        const NwResult result = NwNdsBrowse(tree, context, className, buffer.data(), &length, &count);
        EXPECT_TRUE(result != kNwOk || length == std::strlen(buffer.data()));
        return {result, buffer.data(), count};
    }
};

TEST_F(DirectoryTest, LoginIsRefusedWithAWrongPasswordAndHappensOncePerClient) {
    char tree[] = "acme";
    EXPECT_EQ(NwNdsLogin(tree, "ADMIN", "ORG", "wrong"), kNwLoginRefused);
    EXPECT_STREQ(tree, "ACME") << "the tree name is upper-cased in place";
    EXPECT_EQ(NwNdsLogin(tree, "ADMIN", "NOWHERE.ORG", "secret"), kNwCannotConnect);
    char unknown[] = "ELSEWHERE";
    EXPECT_EQ(NwNdsLogin(unknown, "ADMIN", "ORG", "secret"), kNwUnknownTree);
    EXPECT_EQ(NwNdsLogin(tree, "admin", "org", "SECRET"), kNwOk);
    EXPECT_EQ(NwNdsLogin(tree, "ADMIN", "ORG", "secret"), kNwLoginExists);
}

TEST_F(DirectoryTest, ContextIsTheTreesCurrentOneAndMustFitTheBuffer) {
    char tree[] = "Acme";
    char buffer[16];
    std::uint32_t length = 7;  // "ENG.ORG" exactly
    ASSERT_EQ(NwNdsGetContext(tree, buffer, &length), kNwOk);
    EXPECT_STREQ(buffer, "ENG.ORG");
    EXPECT_EQ(length, 7u);
    length = 6;
    EXPECT_EQ(NwNdsGetContext(tree, buffer, &length), kNwDoesNotFit);
    char unknown[] = "NOTREE";
    length = 15;
    EXPECT_EQ(NwNdsGetContext(unknown, buffer, &length), kNwUnknownTree);
}

TEST_F(DirectoryTest, BrowseListsObjectsThenContainersOverSeveralPasses) {
    const Listed queues = Browse("ENG.ORG", "QUEUE");
    EXPECT_EQ(queues.result, kNwOk);
    EXPECT_EQ(queues.text, "0002,Q1,1,O,0002,Q2,1,O,0002,Q3,1,O,0002,Q4,1,O,0002,Q5,1,O");
    EXPECT_EQ(queues.count, 5);

    const Listed root = Browse("[Root]", "queue");
    EXPECT_EQ(root.text, "0004,TOPQ,1,O,0003,ORG,1,C");
    const Listed org = Browse("org", "CONTEXT");
    EXPECT_EQ(org.text, "0003,ENG,1,C,0005,SALES,1,C") << "containers only";
    const Listed volumes = Browse("ORG", "VOLUME");
    EXPECT_EQ(volumes.text, "0003,SYS,1,O,0003,ENG,1,C,0005,SALES,1,C");
    const Listed empty = Browse("SALES.ORG", "QUEUE");
    EXPECT_EQ(empty.result, kNwOk);
    EXPECT_EQ(empty.text, "");
    EXPECT_EQ(empty.count, 0);

    // 3 records of 12 characters: the third fits exactly.
    const Listed exact = Browse("ENG.ORG", "QUEUE", 36);
    EXPECT_EQ(exact.result, kNwDoesNotFit) << "the fourth does not";
    EXPECT_EQ(exact.text, "0002,Q1,1,O,0002,Q2,1,O,0002,Q3,1,O,");
    EXPECT_EQ(Browse("ENG.ORG", "QUEUE", 35).text, "0002,Q1,1,O,0002,Q2,1,O,");
    EXPECT_EQ(Browse("NOWHERE", "QUEUE").result, kNwCannotConnect);
}

TEST_F(DirectoryTest, ABrowseThatFailsInTheMiddleIsAFailure) {
    Seed({"fault list-objects 2 -601"});
    const Listed listed = Browse("ENG.ORG", "QUEUE");
    EXPECT_EQ(listed.result, kNwBrowseFailed);
    Seed({"fault list-containers 1 -601"});
    EXPECT_EQ(Browse("ORG", "QUEUE").result, kNwBrowseFailed);
}

TEST_F(DirectoryTest, QueuesAreCreatedInAContextOnAVolumeOnlyWithALogin) {
    char tree[] = "ACME";
    EXPECT_EQ(NwNdsCreateQueue(tree, "NEWQ", "ENG.ORG", "SYS.ORG"), kNwLoginRequired);
    EXPECT_EQ(Show("ACME").find("NEWQ"), std::string::npos) << "nothing created";
    LogInToTree();
    EXPECT_EQ(NwNdsCreateQueue(tree, "NEWQ", "ENG.ORG", "SYS.ORG"), kNwOk);
    EXPECT_EQ(NwNdsCreateQueue(tree, "ROOTQ", "[Root]", "SYS.ORG"), kNwOk) << "a queue at the root";
    EXPECT_EQ(NwNdsCreateQueue(tree, "NEWQ", "ENG.ORG", "SYS.ORG"), kNwQueueNotCreated);
    EXPECT_EQ(NwNdsCreateQueue(tree, "OTHER", "ENG.ORG", "NOVOLUME"), kNwQueueNotCreated);
    const std::string objects = Show("ACME");
    EXPECT_NE(objects.find("queue NEWQ.ENG.ORG volume=SYS.ORG\n"), std::string::npos) << objects;
    EXPECT_NE(objects.find("queue ROOTQ volume=SYS.ORG\n"), std::string::npos) << objects;

    EXPECT_EQ(NwNdsDeleteQueue(tree, "newq", "eng.org"), kNwOk);
    EXPECT_EQ(NwNdsDeleteQueue(tree, "NEWQ", "ENG.ORG"), kNwQueueNotDeleted);
    EXPECT_EQ(NwNdsDeleteQueue(tree, "ROOTQ", "[Root]"), kNwOk);
}

TEST_F(DirectoryTest, PrintServersAreCreatedWithAPrinterAndVerified) {
    char tree[] = "ACME";
    EXPECT_EQ(NwNdsCreatePs(tree, "PS2", "ENG.ORG", "PR2"), kNwLoginRequired);
    EXPECT_EQ(NwNdsVerifyPs(tree, "PS2", "ENG.ORG"), kNwPrintServerAbsent);
    EXPECT_EQ(NwNdsVerifyPs(tree, "PS1", "ENG.ORG"), kNwOk);
    LogInToTree();
    EXPECT_EQ(NwNdsCreatePs(tree, "PS2", "ENG.ORG", "PR2"), kNwOk);
    EXPECT_EQ(NwNdsVerifyPs(tree, "ps2", "eng.org"), kNwOk);
    EXPECT_NE(Show("ACME").find("print-server PS2.ENG.ORG printer=PR2.ENG.ORG\nprinter PR2.ENG.ORG\n"),
              std::string::npos);
}

TEST_F(DirectoryTest, AServicedQueueIsAddedAndRemovedInTheTreeAndOnTheCard) {
    char tree[] = "ACME";
    EXPECT_EQ(NwNdsAddSerList(kAdapter, tree, "Q1", "ENG.ORG", 3, "PSX", "SALES.ORG", "PRX"),
              kNwLoginRequired);
    LogInToTree();
    ASSERT_EQ(NwNdsAddSerList(kAdapter, tree, "q1", "eng.org", 3, "PSX", "SALES.ORG", "PRX"), kNwOk);
    std::string objects = Show("ACME");
    EXPECT_NE(objects.find("print-server PSX.SALES.ORG printer=PRX.SALES.ORG\n"), std::string::npos)
        << objects;
    EXPECT_NE(objects.find("printer PRX.SALES.ORG configuration=1072 queue=Q1.ENG.ORG/1/10\n"),
              std::string::npos)
        << objects;
    EXPECT_EQ(CardRows(), "0015,ACME\\q1.eng.org,0001,3,0018,ACME\\PSX.SALES.ORG,0001,0");

    ASSERT_EQ(NwNdsAddSerList(kAdapter, tree, "Q1", "ENG.ORG", 3, "PSX", "SALES.ORG", "PRX"), kNwOk);
    std::uint32_t rows = 0;
    CardRows(&rows);
    EXPECT_EQ(rows, 1u);
    EXPECT_EQ(NwNdsAddSerList(kAdapter, tree, "NOQ", "ENG.ORG", 3, "PSX", "SALES.ORG", "PRX"),
              kNwNoSuchQueue);

    ASSERT_EQ(NwNdsRmSerList(kAdapter, tree, "Q1", "ENG.ORG", 3, "PSX", "SALES.ORG", "PRX"), kNwOk);
    EXPECT_EQ(CardRows(), "");
    objects = Show("ACME");
    EXPECT_NE(objects.find("printer PRX.SALES.ORG configuration=1072\n"), std::string::npos) << objects;
}

TEST_F(DirectoryTest, NamesOnTheRootContextResolve) {
    LogInToTree();
    char tree[] = "ACME";
    ASSERT_EQ(NwNdsAddSerList(kAdapter, tree, "TOPQ", "[Root]", 4, "PSR", "[Root]", "PRR"), kNwOk);
    const std::string objects = Show("ACME");
    EXPECT_NE(objects.find("printer PRR configuration=1072 queue=TOPQ/1/10\n"), std::string::npos) << objects;
    ASSERT_EQ(NwNdsRmSerList(kAdapter, tree, "TOPQ", "[Root]", 4, "PSR", "[Root]", "PRR"), kNwOk);
    EXPECT_NE(Show("ACME").find("printer PRR configuration=1072\n"), std::string::npos);
}

TEST_F(DirectoryTest, ModifyModeMovesADirectoryQueueAndRefusesANameWithoutContext) {
    LogInToTree();
    char tree[] = "ACME";
    ASSERT_EQ(NwNdsAddSerList(kAdapter, tree, "Q2", "ENG.ORG", 3, "PS1", "ENG.ORG", "PR1"), kNwOk);
    EXPECT_EQ(NwSNMPModifyMode(kAdapter, tree, "Q2.ENG.ORG", "PS1.ENG.ORG", "PS9", "PR1", "PR9", 4),
              kNwQueueNotAdded);
    ASSERT_EQ(NwSNMPModifyMode(kAdapter, tree, "Q2.ENG.ORG", "PS1.ENG.ORG", "PS9.SALES.ORG", "PR1", "PR9", 4),
              kNwOk);
    EXPECT_EQ(CardRows(), "0015,ACME\\Q2.ENG.ORG,0001,4,0018,ACME\\PS9.SALES.ORG,0001,0");
    const std::string objects = Show("ACME");
    EXPECT_NE(objects.find("printer PR1.ENG.ORG configuration=1072\n"), std::string::npos) << objects;
    EXPECT_NE(objects.find("printer PR9.SALES.ORG configuration=1072 queue=Q2.ENG.ORG/1/10\n"),
              std::string::npos)
        << objects;
}

}  // namespace
