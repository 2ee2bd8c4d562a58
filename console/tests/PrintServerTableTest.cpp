// The print server table from the device store, the printer rows after filter and sort, and what
// the table writes back.
#include <gtest/gtest.h>

#include "console/core/PrintServerTable.h"
#include "console/core/PrinterStatus.h"
#include "console/core/StringTable.h"
#include "platform/store/StoreBatch.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace console {
namespace {

struct StoredServer {
    const char* mac;
    const char* name;
    const char* ip;
    std::uint32_t category;
    std::uint32_t detected = 1;
};

std::string EntryPath(const std::string& mac) {
    return std::string(plat::kAdapterOnlyKey) + "\\" + mac;
}

class PrintServerTableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        State() = ConsoleState();
        State().makerAbbreviation = "KDR";
    }
    void TearDown() override {
        plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kAdapterOnlyKey);
        plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kAdapterPortsKey);
    }

    static void Store(const StoredServer& server) {
        const auto key =
            plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, EntryPath(server.mac).c_str());
        ASSERT_TRUE(key.has_value());
        key->WriteText("MAC Address", server.mac);
        key->WriteText("Print Server Name", server.name);
        key->WriteText("IP Address", server.ip);
        key->WriteNumber("Category", server.category);
        key->WriteNumber("Detected", server.detected);
    }
    static void StorePort(const std::string& port, const std::string& mac) {
        const std::string path = std::string(plat::kAdapterPortsKey) + "\\" + port;
        plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, path.c_str())->WriteText("MAC Address", mac);
    }
    static std::optional<std::uint32_t> StoredCategory(const std::string& mac) {
        return plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, EntryPath(mac).c_str())
            ->ReadNumber("Category");
    }
    static std::vector<QString> RowNames() {
        std::vector<QString> names;
        for (const PrinterRow& row : State().rows) {
            names.push_back(row.name);
        }
        return names;
    }
};

TEST_F(PrintServerTableTest, ReloadKeepsStatusAndMonitoringByHardwareAddress) {
    Store({"00005E000001", "", "127.0.0.1", 2});
    Store({"00005E000002", "Twin", "127.0.0.2", 2});
    Store({"00005E000003", "Twin", "127.0.0.3", 2});
    LoadPrintServerTable();
    ASSERT_EQ(State().servers.size(), 3u);
    EXPECT_EQ(State().servers[0].name, "Unknown");
    EXPECT_EQ(State().servers[0].status, -1);
    // The second "Twin" is monitored; the first, of the same name, is not.
    FindServer("00005e000003")->notify = true;
    FindServer("00005E000003")->status = 3;
    LoadPrintServerTable();
    EXPECT_TRUE(IsPrinterNotified("00005E000003"));
    EXPECT_FALSE(IsPrinterNotified("00005E000002"));
    EXPECT_EQ(FindServer("00005E000003")->status, 3);
    EXPECT_EQ(FindServer("00005E000002")->status, -1);
}

// A large store is read in steps: every entry comes once, in store order, and the caller is told of
// each when it is complete (a default identity already settled), so that a poll may start on it.
TEST_F(PrintServerTableTest, EveryEntryOfALargeStoreIsReadOnceInStoreOrder) {
    constexpr int kEntries = 1234;  // several steps of the read, the last one short
    std::vector<std::string> macs;
    {
        const plat::StoreBatch batch;
        for (int i = 0; i < kEntries; ++i) {
            macs.push_back(QString("00005E%1").arg(i, 6, 16, QChar('0')).toUpper().toStdString());
            const std::string name = "Card " + std::to_string(i);
            Store({macs.back().c_str(), name.c_str(), "127.0.0.1", 2});
        }
        Store({"00005EFFFFFF", "00005effffffKDR", "0.0.0.0", 2});
    }
    macs.push_back("00005EFFFFFF");
    std::vector<std::size_t> told;
    std::vector<std::uint32_t> categories;
    LoadPrintServerTable({}, [&](std::size_t index) {
        told.push_back(index);
        categories.push_back(State().servers.at(index).category);
    });
    ASSERT_EQ(State().servers.size(), macs.size());
    ASSERT_EQ(told.size(), macs.size());
    for (std::size_t i = 0; i < macs.size(); ++i) {
        EXPECT_EQ(told[i], i);
        EXPECT_EQ(State().servers[i].mac.toStdString(), macs[i]);
    }
    EXPECT_EQ(State().servers[kEntries - 1].name, "Card " + QString::number(kEntries - 1));
    EXPECT_EQ(categories.back(), 1u) << "told of the added-by-hand server once it counted as such";
}

TEST_F(PrintServerTableTest, ADefaultNamedServerWithoutAddressCountsAsAddedByHand) {
    Store({"00005E00000A", "00005e00000aKDR", "0.0.0.0", 2 + 8});
    LoadPrintServerTable();
    EXPECT_EQ(State().servers[0].category, 1u);
    EXPECT_EQ(StoredCategory("00005E00000A"), 1u + 8u) << "the port count bits stay";
}

TEST_F(PrintServerTableTest, CategoryCountsThePortsThatNameTheServer) {
    Store({"00005E000001", "One", "127.0.0.1", 2});
    Store({"00005E000002", "Two", "127.0.0.2", 2 + 4});
    StorePort("P1", "00005E000001");
    StorePort("P2", "00005e000001");
    StorePort("P3", "00005E0000011");  // names another server, not this one
    LoadPrintServerTable();
    SaveCategory();
    EXPECT_EQ(FindServer("00005E000001")->category, 2u + 8u);
    EXPECT_EQ(StoredCategory("00005E000001"), 2u + 8u);
    EXPECT_EQ(FindServer("00005E000002")->category, 2u);
    EXPECT_EQ(StoredCategory("00005E000002"), 2u);
}

TEST_F(PrintServerTableTest, StoreRecordIOWritesTheEntryAndKeepsThePortBits) {
    Store({"00005E000001", "Old", "127.0.0.1", 2 + 4});
    LoadPrintServerTable();
    StoreRecordIO("00005e000001", "New", "Second floor", "", 1, 68);
    const PrintServerEntry& entry = State().servers[0];
    EXPECT_EQ(entry.name, "New");
    EXPECT_EQ(entry.ip, "127.0.0.1");
    EXPECT_EQ(entry.status, 68);
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, EntryPath("00005E000001").c_str());
    EXPECT_EQ(key->ReadText("Print Server Name"), "New");
    EXPECT_EQ(key->ReadText("Print Server Description"), "Second floor");
    EXPECT_EQ(key->ReadText("IP Address"), "127.0.0.1");
    EXPECT_EQ(key->ReadNumber("Category"), 1u + 4u);
}

struct FilterCase {
    int kind;
    const char* text;
    std::vector<QString> names;
};

TEST_F(PrintServerTableTest, FiltersChooseTheRows) {
    State().servers = {
        {"00005E000001", "Lobby", "", 0, "127.0.0.1", "00FACADE00005E000001", "", 2, 7, 2, false, 1},
        {"00005E000002", "Lab-2", "", 3, "", "", "", 2, 7, 2, false, 1},
        {"00005E000003", "Lab", "", 68, "10.0.0.5", "", "", 2, 7, 2, false, 1},
    };
    const FilterCase cases[] = {
        {0, "", {"Lobby", "Lab-2", "Lab"}},
        {1, "L?b*", {"Lobby", "Lab-2", "Lab"}},
        {1, "Lab-#", {"Lab-2"}},
        {1, "lab", {}},
        {1, "L[!o]b", {"Lab"}},
        {2, "127.*", {"Lobby", "Lab-2"}},
        {3, "00facade*", {"Lobby", "Lab-2", "Lab"}},
        {4, "*0003", {"Lab"}},
        {5, "68", {"Lab"}},
        {5, "x", {}},
        // Chosen printers go by hardware address, whole and without regard to case.
        {6, "00005e000002 00005E000003", {"Lab-2", "Lab"}},
        {6, "Lab", {}},
        {6, "00005E00000", {}},
        {9, "", {}},
    };
    for (const FilterCase& c : cases) {
        State().options.filterKind = c.kind;
        State().options.filterText = c.text;
        BuildPrinterRows();
        EXPECT_EQ(RowNames(), c.names) << c.kind << " " << c.text;
    }
}

TEST_F(PrintServerTableTest, SortOrdersByTheColumnAsText) {
    State().servers = {
        {"00005E000001", "b", "", 3, "", "", "", 9, 0, 0, false, 1},
        {"00005E000002", "C", "", 0, "", "", "", 10, 0, 0, false, 1},
        {"00005E000003", "a", "", 4000, "", "", "", 2, 0, 0, false, 1},
    };
    BuildPrinterRows();
    State().options.sortColumn = 1;
    SortPrinterRows();
    EXPECT_EQ(RowNames(), (std::vector<QString>{"a", "b", "C"}));
    State().options.sortDescending = true;
    SortPrinterRows();
    EXPECT_EQ(RowNames(), (std::vector<QString>{"C", "b", "a"}));
    State().options.sortDescending = false;
    // The port name column sorts by the port names the rows show.
    for (PrinterRow& row : State().rows) {
        row.portName = "port" + QString::number(FindServer(row.mac)->category);
    }
    State().options.sortColumn = 7;  // "port10" < "port2" < "port9"
    SortPrinterRows();
    EXPECT_EQ(RowNames(), (std::vector<QString>{"C", "a", "b"}));
    State().options.sortColumn = 3;  // PRINTING < READY < Unknown
    SortPrinterRows();
    EXPECT_EQ(RowNames(), (std::vector<QString>{"b", "C", "a"}));
    State().options.sortColumn = 0;
    SortPrinterRows();
    EXPECT_EQ(RowNames(), (std::vector<QString>{"b", "C", "a"}));
    EXPECT_FALSE(State().rowsRebuilding);
}

TEST(PrinterStatusTest, TextsAndIconsOfEveryStatus) {
    EXPECT_EQ(RowStatusText(3, 1), "PRINTING");
    EXPECT_EQ(RowStatusText(-1, 1), "Unknown");
    EXPECT_EQ(RowStatusText(1035, 1), "Unknown");
    EXPECT_EQ(RowStatusText(99999, 1), "Unknown");
    EXPECT_EQ(RowStatusText(3, 0), "Not Detected");
    for (std::int32_t code : kPrinterStatusCodes) {
        EXPECT_EQ(StatusCodeText(code), LoadString(10000 + code));
    }
    EXPECT_EQ(StatusIcon(2, 0), 1);
    EXPECT_EQ(StatusIcon(2, 3), 2);
    EXPECT_EQ(StatusIcon(2, 1025), 3);
    EXPECT_EQ(StatusIcon(1, 4), 7);
    EXPECT_EQ(StatusIcon(6, 3), 5);
}

TEST(PrinterStatusTest, AlertsFollowTheFlagOfTheStatusSlot) {
    State().options.notifyFlags = "10001";
    EXPECT_TRUE(IsStatusNotified(0));
    EXPECT_FALSE(IsStatusNotified(1));
    EXPECT_TRUE(IsStatusNotified(4));
    EXPECT_FALSE(IsStatusNotified(65));  // past the flags given
    EXPECT_FALSE(IsStatusNotified(12345));
}

}  // namespace
}  // namespace console
