// Every scan and listing of the library against a station that never ends it: the station answers
// the client's broadcast in place of the NetWare network and answers each call as that network would,
// except one, which it answers with "success" for ever. Each export comes back with its error after a
// bounded number of rounds. (Only after many times the bound does the station give in and answer
// sensibly, so that a library that goes round for ever fails here rather than hangs.)
#include <cstring>

#include "netware/ScanRounds.h"
#include "netware/tests/NetWareFixture.h"
#include "tests/ScriptedNetWareStation.h"

namespace {

using nwtest::ScriptedNetWareStation;
using Answer = ScriptedNetWareStation::Answer;

constexpr int kGivesInAfter = 4 * ScanRounds::kMostRounds;

// The station's answer to every request of its call until it gives in.
ScriptedNetWareStation::Script Endless(std::function<Answer(int earlier)> answer) {
    return [answer](const std::vector<std::string>&, int earlier) -> std::optional<Answer> {
        if (earlier >= kGivesInAfter) {
            return std::nullopt;
        }
        return answer(earlier);
    };
}

// The same answer every time: an iterator that stands still.
ScriptedNetWareStation::Script Always(std::vector<std::string> fields) {
    return Endless([fields](int) { return Answer{plat::kNwSuccess, fields}; });
}

enum Login { kNone, kBindery, kTree };

// A call that the station never ends, the export that meets it and what it gives.
struct EndlessCase {
    const char* name;
    const char* call;
    ScriptedNetWareStation::Script script;
    Login login;
    std::function<NwResult()> run;
    NwResult expected;
    int mostRequests;  // of the call
};

void PrintTo(const EndlessCase& endless, std::ostream* out) {
    *out << endless.name;
}

NwResult Context() {
    char tree[] = "ACME", buffer[64];
    std::uint32_t length = 63;
    return NwNdsGetContext(tree, buffer, &length);
}

NwResult Browse() {
    char tree[] = "ACME", buffer[7001];
    std::uint32_t length = 7000;
    std::int32_t count = 0;
    return NwNdsBrowse(tree, "ENG.ORG", "QUEUE", buffer, &length, &count);
}

NwResult BinderyAdd() {
    char server[] = "FS1", queue[] = "Q1", printServer[] = "PS1", printer[] = "P0";
    return NwBiAddSerList(nwtest::kAdapter, server, queue, 1, printServer, printer);
}

NwResult BinderyRemove() {
    char server[] = "FS1", queue[] = "Q1", printServer[] = "PS1", printer[] = "P0";
    return NwBiRmSerList(nwtest::kAdapter, server, queue, 1, printServer, printer);
}

NwResult DirectoryAdd() {
    char tree[] = "ACME";
    return NwNdsAddSerList(nwtest::kAdapter, tree, "Q1", "ENG.ORG", 3, "PS1", "ENG.ORG", "P1");
}

constexpr int kBound = ScanRounds::kMostRounds + 1;

const EndlessCase kEndless[] = {
    // The tree scan of every directory export: the iterator stands still, or moves on for ever.
    {"TreeScanStandsStill", "tree-scan", Always({"0", "OTHER"}), kNone, Context, kNwCannotConnect, 2},
    {"TreeScanNeverEnds", "tree-scan", Endless([](int n) {
         return Answer{plat::kNwSuccess, {std::to_string(n), "OTHER" + std::to_string(n)}};
     }),
     kNone, Browse, kNwCannotConnect, kBound},
    // The browse's two listings: passes with no entries whose iterator never reaches -1.
    {"ObjectPassesStandStill", "list-objects", Always({"5"}), kNone, Browse, kNwBrowseFailed, 2},
    {"ObjectPassesNeverEnd", "list-objects", Endless([](int n) {
         return Answer{plat::kNwSuccess, {std::to_string(n + 1)}};
     }),
     kNone, Browse, kNwBrowseFailed, kBound},
    {"ContainerPassesStandStill", "list-containers", Always({"3", "SUB"}), kNone, Browse, kNwBrowseFailed, 2},
    // The printer's serviced queues, read before an entry is added or taken off.
    {"ServicedQueuesBeforeAnAdd", "read-value", Always({"OTHER", "1", "10"}), kBindery, BinderyAdd,
     kNwQueueNotAdded, kBound},
    {"ServicedQueuesBeforeARemoval", "read-value", Always({"OTHER", "1", "10"}), kBindery, BinderyRemove,
     kNwQueueNotRemoved, kBound},
    // The print server's printers, read before the card's printer is made in a tree.
    {"PrintersOfAPrintServer", "printer-scan", Always({"OTHER"}), kTree, DirectoryAdd, kNwPrinterNotCreated,
     kBound},
};

// The station answers in place of the fixture's own network, which stays off the LAN.
class ScanBoundsTest : public NetWareFixture {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(nwtest::StartCard(cards));
        std::string error;
        ASSERT_TRUE(station.Start(error)) << error;
        for (const char* line : nwtest::kNetWareSeed) {
            ASSERT_EQ(station.Control(line), "ok") << line;
        }
    }

    void LogIn(Login login) {
        if (login == kBindery) {
            LogInToBindery();
        } else if (login == kTree) {
            LogInToTree();
        }
    }

    ScriptedNetWareStation station;
};

class EndlessScanTest : public ScanBoundsTest, public ::testing::WithParamInterface<EndlessCase> {};

TEST_P(EndlessScanTest, TheExportEndsWithItsErrorAfterBoundedRounds) {
    const EndlessCase& endless = GetParam();
    ASSERT_NO_FATAL_FAILURE(LogIn(endless.login));
    station.Take(endless.call, endless.script);
    EXPECT_EQ(endless.run(), endless.expected);
    EXPECT_LE(station.Requests(endless.call), endless.mostRequests);
    std::uint32_t rows = 0;
    CardRows(&rows);
    EXPECT_EQ(rows, 0u) << "no row on the card for a queue the directory could not set up";
}

INSTANTIATE_TEST_SUITE_P(Stations, EndlessScanTest, ::testing::ValuesIn(kEndless),
                         [](const auto& info) { return std::string(info.param.name); });

// A list that fills a NameList from a scan that never ends stops where the caller's buffer is full:
// "does not fit", with the complete records before.
struct FillingCase {
    const char* name;
    const char* call;
    std::vector<std::string> answer;
    Login login;
    std::function<NwResult(char*, std::uint32_t*, std::int32_t*)> list;
    const char* record;
};

void PrintTo(const FillingCase& filling, std::ostream* out) {
    *out << filling.name;
}

const FillingCase kFilling[] = {
    {"FileServers", "scan-objects", {"7", "FS9"}, kNone, NwListFs, "0003,FS9,"},
    {"Trees", "tree-scan", {"0", "OTHER"}, kNone, NwListTrees, "0005,OTHER,"},
    {"Queues",
     "queue-scan",
     {"QX"},
     kBindery,
     [](char* buffer, std::uint32_t* length, std::int32_t* count) {
         return NwBiGetQueueList("FS1", buffer, length, count);
     },
     "0002,QX,"},
    {"PrintServers",
     "ps-scan",
     {"PSX"},
     kNone,
     [](char* buffer, std::uint32_t* length, std::int32_t* count) {
         return NwBiGetPsList("FS1", buffer, length, count);
     },
     "0003,PSX,"},
};

class FillingScanTest : public ScanBoundsTest, public ::testing::WithParamInterface<FillingCase> {};

TEST_P(FillingScanTest, StopsWhereTheBufferIsFull) {
    const FillingCase& filling = GetParam();
    ASSERT_NO_FATAL_FAILURE(LogIn(filling.login));
    station.Take(filling.call, Always(filling.answer));
    constexpr std::uint32_t kRoom = 7000;  // what the console gives
    std::vector<char> buffer(kRoom + 1);
    std::uint32_t length = kRoom;
    std::int32_t count = 0;
    EXPECT_EQ(filling.list(buffer.data(), &length, &count), kNwDoesNotFit);
    const std::size_t record = std::strlen(filling.record);
    const std::size_t fit = kRoom / record;
    EXPECT_EQ(count, static_cast<std::int32_t>(fit));
    std::string expected;
    for (std::size_t i = 0; i < fit; ++i) {
        expected += filling.record;
    }
    EXPECT_EQ(std::string(buffer.data()), expected);
    EXPECT_LE(station.Requests(filling.call), static_cast<int>(fit) + 1);
}

INSTANTIATE_TEST_SUITE_P(Stations, FillingScanTest, ::testing::ValuesIn(kFilling),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
