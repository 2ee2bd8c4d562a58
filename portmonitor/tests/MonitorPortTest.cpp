// The port monitor's ports, its port store, its addresses and its log, without a network.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/spooler/LastError.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "portmonitor/JobPackets.h"
#include "portmonitor/MonitorEntries.h"
#include "portmonitor/MonitorLog.h"
#include "portmonitor/PortList.h"
#include "portmonitor/PortStore.h"
#include "portmonitor/SpxLink.h"
#include "portmonitor/TcpLink.h"

namespace portmon::test {
namespace {

constexpr const char* kMonitorName = "Vorlane Network Printer Port";

// A device store entry; `withDnsName` false leaves one of the six texts out.
void StoreServer(const std::string& mac, uint32_t category, bool withDnsName = true) {
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + mac;
    std::optional<plat::StoreKeyHandle> entry =
        plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, path.c_str());
    ASSERT_TRUE(entry);
    for (const char* name : {"Print Server Name", "IP Address", "IPX Address", "Print Server Description"}) {
        entry->WriteText(name, "x");
    }
    entry->WriteText("MAC Address", mac);
    if (withDnsName) {
        entry->WriteText("DNS Name", "");
    }
    entry->WriteNumber("cProtocols", 2);
    entry->WriteNumber("Category", category);
}

uint32_t Category(const std::string& mac) {
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + mac;
    std::optional<plat::StoreKeyHandle> entry =
        plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, path.c_str());
    return entry ? entry->ReadNumber("Category").value_or(0xFFFF) : 0xFFFF;
}

class MonitorPortTest : public ::testing::Test {
  protected:
    void TearDown() override {
        for (const std::string& name : PortNames()) {
            RemovePort(name);
            DeletePortEntry(name);
        }
        plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kAdapterPortsKey);
    }

    // The names EnumPorts gives at level 1.
    static std::vector<std::string> Enumerated() {
        uint32_t needed = 0;
        uint32_t returned = 0;
        EnumPorts(nullptr, 1, nullptr, 0, &needed, &returned);
        std::vector<uint8_t> buffer(needed);
        std::vector<std::string> names;
        if (needed > 0 && EnumPorts(nullptr, 1, buffer.data(), needed, &needed, &returned)) {
            for (uint32_t i = 0; i < returned; ++i) {
                names.emplace_back(reinterpret_cast<const plat::PortInfo1*>(buffer.data())[i].name);
            }
        }
        return names;
    }
    // A port on the server's entry, in the store and in the list.
    void AddPort(const std::string& name, const std::string& mac) {
        std::optional<ServerRecord> record = ReadServerRecord(mac);
        ASSERT_TRUE(record);
        ASSERT_TRUE(SavePortEntry(*record, name, false));
        PushPort(std::make_unique<CNPC>(*record, name, MonitorSettings{}));
    }
};

TEST_F(MonitorPortTest, EnumPortsMeasuresAndFillsBothLevels) {
    uint32_t needed = 99;
    uint32_t returned = 99;
    EXPECT_TRUE(EnumPorts(nullptr, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(needed, 0u);
    EXPECT_EQ(returned, 0u);
    EXPECT_FALSE(EnumPorts(nullptr, 3, nullptr, 0, &needed, &returned));
    EXPECT_EQ(plat::GetLastError(), plat::kErrorInvalidLevel);

    StoreServer("00C0DE000001", 2);
    AddPort("P1", "00C0DE000001");
    struct Case {
        uint32_t level;
        size_t size;
    };
    for (const Case& c : {Case{1, 3 + sizeof(plat::PortInfo1)},
                          Case{2, 3 + sizeof(plat::PortInfo2) + 2 * (std::strlen(kMonitorName) + 1)}}) {
        EXPECT_FALSE(EnumPorts(nullptr, c.level, nullptr, 0, &needed, &returned));
        EXPECT_EQ(plat::GetLastError(), plat::kErrorInsufficientBuffer);
        EXPECT_EQ(needed, c.size);
        std::vector<uint8_t> buffer(c.size);
        EXPECT_FALSE(EnumPorts(nullptr, c.level, buffer.data(), needed - 1, &needed, &returned));
        ASSERT_TRUE(EnumPorts(nullptr, c.level, buffer.data(), needed, &needed, &returned));
        EXPECT_EQ(returned, 1u);
        if (c.level == 1) {
            EXPECT_STREQ(reinterpret_cast<plat::PortInfo1*>(buffer.data())->name, "P1");
        } else {
            const auto* info = reinterpret_cast<plat::PortInfo2*>(buffer.data());
            EXPECT_STREQ(info->portName, "P1");
            EXPECT_STREQ(info->monitorName, kMonitorName);
            EXPECT_STREQ(info->description, kMonitorName);
            EXPECT_EQ(info->portType, 1u);
        }
    }
}

TEST_F(MonitorPortTest, OpenCloseAndDeleteFollowThePortsState) {
    StoreServer("00C0DE000002", 2);
    AddPort("Lobby", "00C0DE000002");
    EXPECT_EQ(Category("00C0DE000002"), 6u);
    plat::PortHandle handle = nullptr;
    EXPECT_FALSE(OpenPort("Cellar", &handle));
    EXPECT_EQ(plat::GetLastError(), plat::kErrorUnknownPort);
    ASSERT_TRUE(OpenPort("LOBBY", &handle));
    EXPECT_FALSE(OpenPort("Lobby", &handle)) << "a port opens once";

    // An open port may be printing: it is not deleted, and its entry and count stay.
    EXPECT_FALSE(DeletePort(nullptr, 0, "Lobby"));
    EXPECT_EQ(plat::GetLastError(), plat::kErrorBusy);
    EXPECT_EQ(PortAdapter("Lobby"), "00C0DE000002");
    EXPECT_EQ(Category("00C0DE000002"), 6u);

    int unknown = 0;
    EXPECT_FALSE(ClosePort(&unknown));
    EXPECT_EQ(plat::GetLastError(), plat::kErrorInvalidHandle);
    EXPECT_TRUE(ClosePort(handle));
    EXPECT_TRUE(DeletePort(nullptr, 0, "lobby"));
    EXPECT_FALSE(PortAdapter("Lobby"));
    EXPECT_EQ(Category("00C0DE000002"), 2u);
    EXPECT_TRUE(PortNames().empty());
    EXPECT_FALSE(DeletePort(nullptr, 0, "Lobby"));
    EXPECT_EQ(plat::GetLastError(), plat::kErrorUnknownPort);
}

TEST_F(MonitorPortTest, UsageCountsMoveWithThePortAndNeverDrift) {
    StoreServer("00C0DE000003", 2);
    StoreServer("00C0DE000004", 6);
    ServerRecord first = *ReadServerRecord("00C0DE000003");
    ServerRecord second = *ReadServerRecord("00C0DE000004");
    ASSERT_TRUE(SavePortEntry(first, "Q", false));
    EXPECT_EQ(Category("00C0DE000003"), 6u);
    // Onto the server it already uses: unchanged.
    ASSERT_TRUE(SavePortEntry(first, "Q", true));
    EXPECT_EQ(Category("00C0DE000003"), 6u);
    ASSERT_TRUE(SavePortEntry(second, "Q", true));
    EXPECT_EQ(Category("00C0DE000003"), 2u);
    EXPECT_EQ(Category("00C0DE000004"), 10u);

    // A server that left the store: nothing changes.
    ServerRecord gone = first;
    gone.mac = "00C0DE0000FF";
    EXPECT_FALSE(SavePortEntry(gone, "Q", true));
    EXPECT_EQ(PortAdapter("Q"), "00C0DE000004");
    EXPECT_EQ(Category("00C0DE000004"), 10u);

    ASSERT_TRUE(DeletePortEntry("Q"));
    EXPECT_EQ(Category("00C0DE000004"), 6u);
    EXPECT_FALSE(DeletePortEntry("Q"));
    EXPECT_EQ(Category("00C0DE000004"), 6u);
    // Never below the category bits.
    EXPECT_TRUE(AdjustCategory("00C0DE000003", 0));
    EXPECT_EQ(Category("00C0DE000003"), 2u);
    EXPECT_FALSE(AdjustCategory("00C0DE000003", 2));
    EXPECT_FALSE(AdjustCategory("00C0DE0000FF", 1));
}

TEST_F(MonitorPortTest, OnlyPortsWithACompleteEntryAreLoaded) {
    StoreServer("00C0DE000005", 2, false);
    StoreServer("00C0DE000006", 4);
    ServerRecord incomplete = *ReadServerRecord("00C0DE000005");
    EXPECT_FALSE(incomplete.Complete());
    ASSERT_TRUE(SavePortEntry(incomplete, "NoDns", false));
    ASSERT_TRUE(SavePortEntry(*ReadServerRecord("00C0DE000006"), "Used", false));
    std::vector<std::string> loaded;
    for (const auto& [name, record] : ReadPortEntries()) {
        loaded.push_back(name);
    }
    EXPECT_EQ(loaded, std::vector<std::string>{"Used"});
    // Category 4 and 8: a port but no category 2, so not offered for new ports.
    for (const ServerRecord& offered : LoadServerList()) {
        EXPECT_NE(*offered.mac, "00C0DE000006");
        EXPECT_NE(*offered.mac, "00C0DE000005");
    }
}

TEST_F(MonitorPortTest, PortsThatAnotherProcessAddsOrDeletesAreSeen) {
    StoreServer("00C0DE000007", 2);
    AddPort("Lobby", "00C0DE000007");
    AddPort("Open", "00C0DE000007");
    plat::PortHandle handle = nullptr;
    ASSERT_TRUE(OpenPort("Open", &handle));
    // Another process hosting the monitor (the console, vorlane-port) changes the port map.
    ASSERT_TRUE(SavePortEntry(*ReadServerRecord("00C0DE000007"), "Annex", false));
    ASSERT_TRUE(DeletePortEntry("Lobby"));
    ASSERT_TRUE(DeletePortEntry("Open"));
    EXPECT_EQ(Category("00C0DE000007"), 6u);

    // A port held open stays in the list until it is closed.
    EXPECT_EQ(Enumerated(), (std::vector<std::string>{"Annex", "Open"}));
    // Deleting the port that is gone again is no success, and the count stays.
    EXPECT_FALSE(DeletePort(nullptr, 0, "Lobby"));
    EXPECT_EQ(plat::GetLastError(), plat::kErrorUnknownPort);
    EXPECT_EQ(Category("00C0DE000007"), 6u);
    EXPECT_TRUE(DeletePort(nullptr, 0, "Annex"));
    EXPECT_EQ(Category("00C0DE000007"), 2u);
    EXPECT_TRUE(ClosePort(handle));
    EXPECT_EQ(Enumerated(), std::vector<std::string>{});
}

TEST(MonitorAddresses, TextsThatAreNoAddressAreRefused) {
    LinkTiming timing;
    timing.timeOutMs = 100;
    timing.retries = 1;
    struct Case {
        const char* address;
        bool spx;
    };
    for (const Case& c :
         {Case{"00FACADE00C0DE00060", true}, Case{"00FACADE00C0DE0006010", true},
          Case{"00FACADE00C0DE00060Z", true}, Case{"", false}, Case{"no-such-host.invalid", false}}) {
        std::unique_ptr<JobStreamLink> link =
            c.spx ? std::unique_ptr<JobStreamLink>(std::make_unique<SpxLink>(timing))
                  : std::make_unique<TcpLink>(timing);
        EXPECT_EQ(link->Connect(c.address, 2000), kLinkBadAddress) << c.address;
    }
}

TEST(MonitorBanner, NamesTheJobInAtMost128Characters) {
    plat::JobInfo1 job;
    job.machineName = "pc";
    job.userName = "ann";
    job.document = std::string(200, 'd');
    EXPECT_EQ(BannerText(&job).size(), 128u);
    EXPECT_EQ(BannerText(&job).substr(0, 26), "Windows 95 :: pc :: ann ::");
    EXPECT_EQ(BannerText(nullptr), "Windows");
    EXPECT_EQ(BannerHeader(128), (std::vector<uint8_t>{0x30, 0x00, 0x80}));
}

// A title of letters beyond ASCII is cut before the character that does not fit, never inside it.
TEST(MonitorBanner, IsCutAtACharacterBoundary) {
    for (const std::string letter : {"\u00e9", "\u20ac", "\U0001F5A8"}) {
        plat::JobInfo1 job;
        job.machineName = "pc";
        job.userName = "ann";
        for (int i = 0; i < 60; ++i) {
            job.document += letter;
        }
        const std::string whole = "Windows 95 :: pc :: ann :: " + job.document;
        const std::string banner = BannerText(&job);
        EXPECT_LE(banner.size(), 128u) << letter;
        EXPECT_GT(banner.size(), 128u - letter.size()) << letter;
        EXPECT_EQ(whole.compare(0, banner.size(), banner), 0) << letter;
        EXPECT_NE(static_cast<unsigned char>(whole[banner.size()]) & 0xC0, 0x80) << letter;
    }
}

// The log file is overwritten from its start, not truncated; "TuvErr.Log" when no name is stored.
TEST(MonitorLogFile, OverwritesFromTheStartAndTakesTheDefaultName) {
    char folder[] = "/tmp/monitor-log.XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    ASSERT_EQ(chdir(folder), 0);
    {
        std::ofstream old("TuvErr.Log");
        old << std::string(300, '#');
    }
    std::optional<plat::StoreKeyHandle> key =
        plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kPrintMonitorKey);
    key->WriteNumber("ErrorLog", 1);
    StartLog();
    LogWrite("StartDocPort():connect succeeded\n");
    ReportError(66);
    EndLog();
    std::stringstream text;
    text << std::ifstream("TuvErr.Log").rdbuf();
    const std::string log = text.str();
    EXPECT_EQ(log.substr(0, 33), "StartDocPort():connect succeeded\n");
    EXPECT_NE(log.find("Port not supported by Vorlane Network Printer Monitor."), std::string::npos);
    EXPECT_EQ(log.size(), 300u);
    EXPECT_EQ(log.back(), '#');

    // Any other value than 1: no log file at all.
    key->WriteNumber("ErrorLog", 2);
    ASSERT_EQ(unlink("TuvErr.Log"), 0);
    StartLog();
    LogWrite("nothing\n");
    EndLog();
    EXPECT_NE(access("TuvErr.Log", F_OK), 0);
}

}  // namespace
}  // namespace portmon::test
