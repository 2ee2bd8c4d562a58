// Jobs through a private cupsd: lp, the backend vorlane, the port monitor, the simulated cards.
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <thread>

#include "platform/spooler/DeviceUri.h"
#include "platform/spooler/Spooler.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "portmonitor/PortStore.h"
#include "portmonitor/tests/CardBed.h"
#include "portmonitor/tests/PrivateCupsd.h"
#include "tests/Eventually.h"
#include "transport/ProtocolMask.h"

namespace portmon::test {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr size_t kCards = 5;
constexpr size_t kTenMiB = 10 << 20;

// A name as a print server may bring it off the network: its line end would have cupsd set the
// queue's state, were it to start a line of what the backend tells cupsd.
const std::string kHostileName = "a\nSTATE: +media-empty-error";
// How each line the backend writes to its standard error starts.
const std::vector<std::string> kMessagePrefixes = {"ERROR: ", "INFO: ", "DEBUG: "};

// Ports written into the store directly, as ports added before names were checked are; gone again
// with the object.
class StoredPorts {
  public:
    StoredPorts(std::vector<std::string> names, const std::string& adapter) : names_(std::move(names)) {
        const std::optional<ServerRecord> record = ReadServerRecord(adapter);
        for (const std::string& name : names_) {
            EXPECT_TRUE(record && SavePortEntry(*record, name, false)) << name;
        }
    }
    ~StoredPorts() {
        for (const std::string& name : names_) {
            DeletePortEntry(name);
        }
    }
    StoredPorts(const StoredPorts&) = delete;
    StoredPorts& operator=(const StoredPorts&) = delete;

  private:
    std::vector<std::string> names_;
};

class MonitorCupsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        bed_ = new CardBed(kCards);
        CardBed::StoreQuickSettings();
        for (size_t card = 0; card < kCards; ++card) {
            bed_->StoreCard(card, kProtocolIp);
            AddPort("T" + std::to_string(card), card);
        }
        AddPort("S1", 1);
        AddPort("D2", 2);
        cupsd_ = new PrivateCupsd;
        std::string error;
        ASSERT_TRUE(cupsd_->Start(VORLANE_BACKEND, error)) << error;
        for (const char* queue : {"T0", "T1", "T2", "T3", "T4", "S1", "D2"}) {
            ASSERT_TRUE(cupsd_->AddQueue(queue, queue)) << queue;
        }
    }
    static void TearDownTestSuite() {
        delete cupsd_;
        delete bed_;
    }

    static void AddPort(const std::string& name, size_t card) {
        std::optional<ServerRecord> record = ReadServerRecord(bed_->Mac(card));
        ASSERT_TRUE(record);
        ASSERT_TRUE(SavePortEntry(*record, name, false));
    }

    void SetUp() override {
        for (size_t card = 0; card < kCards; ++card) {
            bed_->Listener().SetFaults(card, sim::JobFaults{});
            WritePortTransport("T" + std::to_string(card), kProtocolIp);
        }
        WritePortTransport("S1", kProtocolIpx);
        WritePortTransport("D2", kProtocolDlc);
        CardBed::StoreQuickSettings();
    }

    // Prints (with lp's further arguments) and waits for the job's end; its last state.
    int PrintAndWait(const std::string& queue, const std::vector<uint8_t>& bytes, int* job = nullptr,
                     const std::string& arguments = "") {
        const int id = cupsd_->Print(queue, bytes, arguments);
        EXPECT_GT(id, 0) << queue;
        if (job != nullptr) {
            *job = id;
        }
        return cupsd_->WaitForEnd(id, seconds(120));
    }

    // The card's jobs from the `from`th on, once it has logged `count`.
    std::vector<sim::JobRecord> JobsSince(size_t card, size_t from, size_t count) {
        return bed_->JobsSince(card, from, count, seconds(20));
    }

    // A job file, as cupsd hands the backend its spool file.
    static std::string WriteJobFile(const std::vector<uint8_t>& bytes) {
        const std::string path = cupsd_->Folder() + "/jobs/direct";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // Long link waits, so that a held card holds a job for as long as a test needs.
    static void StoreLongWaits() { ASSERT_TRUE(CardBed::StoreLinkWaits(5000, 30)); }

    // Waits until the card has a connection beyond `connections`: the backend is under way. cupsd
    // starts it; the bound is for a loaded machine.
    void AwaitConnection(size_t card, size_t connections) {
        testsupport::Eventually([&] { return bed_->Listener().Connections(card) != connections; },
                                testsupport::kLoadedMachineWait, milliseconds(50));
        ASSERT_GT(bed_->Listener().Connections(card), connections) << "the backend never connected";
    }

    // The card's newest job, once it has logged `count`.
    sim::JobRecord NewestJob(size_t card, size_t count) {
        EXPECT_TRUE(bed_->Listener().WaitForJobs(card, count, seconds(20))) << card;
        std::vector<sim::JobRecord> jobs = bed_->Listener().Jobs(card);
        return jobs.empty() ? sim::JobRecord{} : jobs.back();
    }

    static CardBed* bed_;
    static PrivateCupsd* cupsd_;
};

CardBed* MonitorCupsTest::bed_ = nullptr;
PrivateCupsd* MonitorCupsTest::cupsd_ = nullptr;

TEST_F(MonitorCupsTest, JobsOfEverySizeArriveByteForByteOnEachTransport) {
    struct Case {
        const char* queue;
        size_t card;
        const char* transport;
    };
    for (const Case& c : {Case{"T0", 0, "tcp"}, Case{"S1", 1, "spx"}, Case{"D2", 2, "dlc"}}) {
        // cupsd refuses an empty document ("No file in print request."): empty jobs are the monitor
        // test's.
        for (size_t size : {size_t{1}, size_t{1490}, size_t{1491}, kTenMiB}) {
            const std::vector<uint8_t> bytes = JobBytes(size, static_cast<uint32_t>(size + c.card));
            const size_t before = bed_->Listener().Jobs(c.card).size();
            int job = 0;
            ASSERT_EQ(PrintAndWait(c.queue, bytes, &job), IPP_JSTATE_COMPLETED) << c.queue << " " << size;
            const sim::JobRecord arrived = NewestJob(c.card, before + 1);
            EXPECT_EQ(arrived.transport, c.transport);
            EXPECT_TRUE(CardBed::Bytes(arrived) == bytes) << c.queue << " " << size;
            EXPECT_TRUE(arrived.ended);
            EXPECT_EQ(arrived.checksum, Sum(bytes));
            EXPECT_EQ(cupsd_->LoggedChecksum(job), arrived.checksum) << c.queue << " " << size;
            EXPECT_NE(arrived.banner.find("Windows 95 :: "), std::string::npos) << arrived.banner;
        }
    }
}

TEST_F(MonitorCupsTest, ABusyCardIsWaitedForThenPrints) {
    bed_->Listener().SetFaults(3, sim::JobFaults{.busyAnswers = 3});
    const size_t connections = bed_->Listener().Connections(3);
    const size_t before = bed_->Listener().Jobs(3).size();
    const std::vector<uint8_t> bytes = JobBytes(5000);
    EXPECT_EQ(PrintAndWait("T3", bytes), IPP_JSTATE_COMPLETED);
    EXPECT_EQ(CardBed::Bytes(NewestJob(3, before + 1)), bytes);
    EXPECT_EQ(bed_->Listener().Connections(3), connections + 4);
}

TEST_F(MonitorCupsTest, CancelStopsAJobUnderWay) {
    ASSERT_TRUE(CardBed::StoreLinkWaits(2000, 30));  // a stalled card would hold the job for a minute
    bed_->Listener().SetFaults(4, sim::JobFaults{.stopReading = true});
    const size_t connections = bed_->Listener().Connections(4);
    const int job = cupsd_->Print("T4", JobBytes(kTenMiB));
    ASSERT_GT(job, 0);
    AwaitConnection(4, connections);
    std::this_thread::sleep_for(milliseconds(500));
    ASSERT_EQ(cupsd_->JobState(job), IPP_JSTATE_PROCESSING);
    ASSERT_TRUE(cupsd_->Cancel(job));
    EXPECT_EQ(cupsd_->WaitForEnd(job, seconds(10)), IPP_JSTATE_CANCELED);
    // The backend gives up at once: the queue takes the next job.
    bed_->Listener().SetFaults(4, sim::JobFaults{});
    const std::vector<uint8_t> bytes = JobBytes(100);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(PrintAndWait("T4", bytes), IPP_JSTATE_COMPLETED);
    EXPECT_LT(std::chrono::steady_clock::now() - started, seconds(15));
}

TEST_F(MonitorCupsTest, AResetLeavesTheJobNotCompletedWithNoByteTwice) {
    bed_->Listener().SetFaults(0, sim::JobFaults{.drop = sim::JobDrop::Reset, .dropAfterBytes = 100000});
    const size_t before = bed_->Listener().Jobs(0).size();
    const std::vector<uint8_t> bytes = JobBytes(kTenMiB, 7);
    EXPECT_EQ(PrintAndWait("T0", bytes), IPP_JSTATE_ABORTED);
    const sim::JobRecord arrived = NewestJob(0, before + 1);
    EXPECT_FALSE(arrived.ended);
    const std::vector<uint8_t> received = CardBed::Bytes(arrived);
    ASSERT_LE(received.size(), bytes.size());
    EXPECT_TRUE(std::equal(received.begin(), received.end(), bytes.begin()));
}

TEST_F(MonitorCupsTest, ACardThatStopsReadingFailsTheJob) {
    bed_->Listener().SetFaults(1, sim::JobFaults{.stopReading = true});
    EXPECT_EQ(PrintAndWait("T1", JobBytes(kTenMiB)), IPP_JSTATE_ABORTED);
}

// The device store entry of a print server whose TCP is down (nothing at its IP address) and, for
// `dlcDown`, whose DLC is down too (no station at its hardware address); its IPX address is card 2's.
void StoreBrokenServer(const std::string& adapter, const CardBed& bed) {
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + adapter;
    std::optional<plat::StoreKeyHandle> entry =
        plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, path.c_str());
    ASSERT_TRUE(entry);
    entry->WriteText("Print Server Name", "Broken");
    entry->WriteText("MAC Address", adapter);
    entry->WriteText("IP Address", "127.0.6.250");
    entry->WriteText("IPX Address", bed.Ipx(2));
    entry->WriteText("Print Server Description", "");
    entry->WriteText("DNS Name", "");
    entry->WriteNumber("pProtocol", kProtocolIp);
    entry->WriteNumber("cProtocols", 7);
    entry->WriteNumber("Category", 2);
}

TEST_F(MonitorCupsTest, FallsBackFromTcpWhenItIsDown) {
    // TCP down: DLC, to card 2's station.
    std::optional<ServerRecord> card = ReadServerRecord(bed_->Mac(2));
    ASSERT_TRUE(card);
    StoreBrokenServer(bed_->Mac(2), *bed_);
    size_t before = bed_->Listener().Jobs(2).size();
    ASSERT_TRUE(SavePortEntry(*ReadServerRecord(bed_->Mac(2)), "F1", false));
    ASSERT_TRUE(cupsd_->AddQueue("F1", "F1"));
    EXPECT_EQ(PrintAndWait("F1", JobBytes(3000)), IPP_JSTATE_COMPLETED);
    EXPECT_EQ(NewestJob(2, before + 1).transport, "dlc");

    // TCP and DLC down: SPX, to card 2's IPX address.
    StoreBrokenServer("00C0DE0006FE", *bed_);
    before = bed_->Listener().Jobs(2).size();
    ASSERT_TRUE(SavePortEntry(*ReadServerRecord("00C0DE0006FE"), "F2", false));
    ASSERT_TRUE(cupsd_->AddQueue("F2", "F2"));
    EXPECT_EQ(PrintAndWait("F2", JobBytes(3000)), IPP_JSTATE_COMPLETED);
    EXPECT_EQ(NewestJob(2, before + 1).transport, "spx");
    // The next job starts with what worked.
    EXPECT_EQ(ReadPortTransport("F2"), kProtocolIpx);
    bed_->StoreCard(2, kProtocolIp);
}

TEST_F(MonitorCupsTest, TwentyJobsToFiveCardsAtOnceAllArrive) {
    constexpr size_t kPerCard = 4;
    std::vector<size_t> before(kCards);
    std::vector<std::vector<int>> jobs(kCards);
    std::vector<std::multiset<uint32_t>> sums(kCards);
    for (size_t card = 0; card < kCards; ++card) {
        before[card] = bed_->Listener().Jobs(card).size();
    }
    for (size_t round = 0; round < kPerCard; ++round) {
        for (size_t card = 0; card < kCards; ++card) {
            const std::vector<uint8_t> bytes =
                JobBytes(200000 + round * 1000 + card, static_cast<uint32_t>(round * 10 + card));
            sums[card].insert(Sum(bytes));
            jobs[card].push_back(cupsd_->Print("T" + std::to_string(card), bytes));
        }
    }
    for (size_t card = 0; card < kCards; ++card) {
        for (int job : jobs[card]) {
            EXPECT_EQ(cupsd_->WaitForEnd(job, seconds(120)), IPP_JSTATE_COMPLETED) << job;
        }
        ASSERT_TRUE(bed_->Listener().WaitForJobs(card, before[card] + kPerCard, seconds(20)));
        std::multiset<uint32_t> arrived;
        const std::vector<sim::JobRecord> logged = bed_->Listener().Jobs(card);
        for (size_t i = before[card]; i < logged.size(); ++i) {
            EXPECT_TRUE(logged[i].ended);
            arrived.insert(logged[i].checksum);
        }
        EXPECT_EQ(arrived, sums[card]) << card;
    }
}

// The monitor's errors reach cupsd's log as errors, with no message box; the job fails.
TEST_F(MonitorCupsTest, AQueueOnAnUnknownPortFailsItsJobsWithTheMonitorsMessage) {
    ASSERT_TRUE(cupsd_->AddQueue("Nowhere", "NoSuchPort"));
    int job = 0;
    EXPECT_EQ(PrintAndWait("Nowhere", JobBytes(10), &job), IPP_JSTATE_ABORTED);
    const std::vector<std::string> log = cupsd_->JobLog(job);
    EXPECT_NE(std::find(log.begin(), log.end(), "E Port not supported by Vorlane Network Printer Monitor."),
              log.end());
}

// The spooler calls the monitor makes, on a job that waits for a busy card.
TEST_F(MonitorCupsTest, SpoolerCallsReadAndCancelAJob) {
    bed_->Listener().SetFaults(3, sim::JobFaults{.busyAnswers = 100000});
    const size_t connections = bed_->Listener().Connections(3);
    const int job = cupsd_->Print("T3", JobBytes(100));
    ASSERT_GT(job, 0);
    AwaitConnection(3, connections);
    plat::PrinterHandle printer = nullptr;
    EXPECT_FALSE(plat::OpenPrinter("NoSuchQueue", &printer));
    ASSERT_TRUE(plat::OpenPrinter("T3", &printer));
    plat::JobInfo1 info;
    ASSERT_TRUE(plat::GetJob(printer, static_cast<uint32_t>(job), info));
    EXPECT_EQ(info.status, plat::kJobStatusPrinting);
    EXPECT_EQ(info.printerName, "T3");
    EXPECT_EQ(info.userName, "root");
    EXPECT_NE(info.document.find("job"), std::string::npos) << info.document;
    EXPECT_FALSE(plat::GetJob(printer, 99999, info));
    ASSERT_TRUE(plat::SetJob(printer, static_cast<uint32_t>(job), plat::kJobControlCancel));
    EXPECT_EQ(cupsd_->WaitForEnd(job, seconds(10)), IPP_JSTATE_CANCELED);
    ASSERT_TRUE(plat::GetJob(printer, static_cast<uint32_t>(job), info));
    EXPECT_EQ(info.status, plat::kJobStatusDeleted);
    EXPECT_TRUE(plat::ClosePrinter(printer));
}

TEST_F(MonitorCupsTest, TheBackendListsTheMonitorsPorts) {
    const std::string output = RunCommand(VORLANE_BACKEND);
    EXPECT_NE(output.rfind("failed", 0), 0u) << output;
    EXPECT_NE(output.find("network vorlane:/T0 \"Vorlane Network Printer Port\" \"T0\"\n"), std::string::npos)
        << output;
    EXPECT_NE(output.find("network vorlane:/D2 "), std::string::npos);
}

// The listing's device URIs are valid and its quoted fields hold any port name, each port on a line
// of its own: a quote goes behind a backslash, as cupsd reads a backend's listing, and a control
// character (a port stored before Add Port refused them) shows as its code. (A port's name has no
// backslash: the store takes none in a key's name.)
TEST_F(MonitorCupsTest, TheListingGivesEachPortOneLineWhateverItsName) {
    struct Case {
        std::string port;
        std::string field;
    };
    const Case cases[] = {
        {"Say \"hi\" now", "\"Say \\\"hi\\\" now\""},
        {kHostileName, "\"a\\\\x0ASTATE: +media-empty-error\""},
        {"d\x1B[2J\t", "\"d\\\\x1B[2J\\\\x09\""},
    };
    std::vector<std::string> ports;
    for (const Case& c : cases) {
        ports.push_back(c.port);
    }
    const StoredPorts stored(ports, bed_->Mac(0));
    const BackendRun listing = RunBackend(VORLANE_BACKEND, {}, {});
    EXPECT_EQ(listing.code, 0) << listing.err;
    EXPECT_EQ(UnsafeLines(listing.out, {"network vorlane:/"}), "");
    for (const Case& c : cases) {
        const std::string line =
            "network " + plat::PortDeviceUri(c.port) + " \"Vorlane Network Printer Port\" " + c.field + "\n";
        EXPECT_NE(listing.out.find(line), std::string::npos) << line << listing.out;
    }
}

// A port named with a line end, stored before Add Port refused such names (a print server's name
// comes off the network), would have the backend write a line that cupsd acts on. Its queue still
// prints, and cupsd's state of the queue stays as it was.
TEST_F(MonitorCupsTest, AHostilePortNameNeverSpeaksToCupsd) {
    const StoredPorts stored({kHostileName}, bed_->Mac(0));
    ASSERT_TRUE(cupsd_->AddQueue("Hostile", kHostileName));
    const size_t before = bed_->Listener().Jobs(0).size();
    EXPECT_EQ(PrintAndWait("Hostile", JobBytes(100)), IPP_JSTATE_COMPLETED);
    const std::string reasons = cupsd_->StateReasons("Hostile");
    plat::DeletePrinter("Hostile");
    EXPECT_EQ(reasons.find("media-empty"), std::string::npos) << reasons;
    EXPECT_TRUE(NewestJob(0, before + 1).ended);
}

// cupsd starts the backend with the queue's device URI in DEVICE_URI. A port name that decodes to a
// NUL, or to control characters no stored port has, names no port: the job fails before anything is
// sent, with a word of why, rather than being cut at the NUL and printed to another port. A port
// stored under such a name before Add Port refused them still prints.
TEST_F(MonitorCupsTest, ADeviceUriNamesOnlyThePortOfExactlyItsName) {
    const StoredPorts stored({kHostileName, "Tab\tName"}, bed_->Mac(0));
    const std::string file = WriteJobFile(JobBytes(100));
    struct Case {
        std::string uri;
        int code;
    };
    const Case cases[] = {
        {"vorlane:/T0%00evil", 1},
        {"vorlane:/T0%0A", 1},
        {plat::PortDeviceUri("Tab\tName"), 0},
        {plat::PortDeviceUri(kHostileName), 0},
    };
    for (const Case& c : cases) {
        const size_t connections = bed_->Listener().Connections(0);
        const size_t before = bed_->Listener().Jobs(0).size();
        const BackendRun run = RunBackend(VORLANE_BACKEND, {"77", "root", "title", "1", "", file},
                                          {{"DEVICE_URI", c.uri}, {"PRINTER", "T0"}});
        EXPECT_EQ(run.code, c.code) << c.uri << "\n" << run.err;
        EXPECT_EQ(UnsafeLines(run.err, kMessagePrefixes), "") << c.uri;
        if (c.code == 0) {
            EXPECT_TRUE(NewestJob(0, before + 1).ended) << c.uri;
        } else {
            EXPECT_EQ(bed_->Listener().Connections(0), connections) << c.uri;
            EXPECT_NE(run.err.find("ERROR: The "), std::string::npos) << c.uri << "\n" << run.err;
        }
    }
}

// Whatever names cupsd hands the backend (the queue's, the job's), each line it writes is one of its
// own messages, the monitor's log lines among them: a line end in a name never starts a line.
TEST_F(MonitorCupsTest, NamesNeverStartALineOfTheBackendsOwn) {
    const std::string file = WriteJobFile(JobBytes(100));
    for (const std::string& name : {kHostileName, std::string("b\rATTR: marker-levels=0\x1B[2J")}) {
        const size_t before = bed_->Listener().Jobs(0).size();
        const BackendRun run = RunBackend(VORLANE_BACKEND, {"78", name, name, "1", "", file},
                                          {{"DEVICE_URI", "vorlane:/T0"}, {"PRINTER", name}});
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_TRUE(NewestJob(0, before + 1).ended);
        EXPECT_EQ(UnsafeLines(run.err, kMessagePrefixes), "") << run.err;
    }
}

// On a raw queue cupsd hands the backend the copies; each arrives as a whole job. The queue's own
// default (what the console's Properties stores) counts as well.
TEST_F(MonitorCupsTest, CopiesArriveAsWholeJobs) {
    const std::vector<uint8_t> bytes = JobBytes(7000, 3);
    size_t before = bed_->Listener().Jobs(0).size();
    ASSERT_EQ(cupsd_->WaitForEnd(cupsd_->Print("T0", bytes, "-n 3"), seconds(60)), IPP_JSTATE_COMPLETED);
    std::vector<sim::JobRecord> arrived = JobsSince(0, before, before + 3);
    ASSERT_EQ(arrived.size(), 3u);
    for (const sim::JobRecord& job : arrived) {
        EXPECT_TRUE(job.ended);
        EXPECT_EQ(CardBed::Bytes(job), bytes);
    }

    plat::OpenedPrinter queue = plat::OpenPrinter("T0");
    ASSERT_TRUE(queue);
    plat::DocumentSettings settings;
    settings.copies = 2;
    ASSERT_TRUE(plat::SetPrinterSettings(queue.get(), settings));
    before = bed_->Listener().Jobs(0).size();
    EXPECT_EQ(PrintAndWait("T0", bytes), IPP_JSTATE_COMPLETED);
    settings.copies = 1;
    ASSERT_TRUE(plat::SetPrinterSettings(queue.get(), settings));
    arrived = JobsSince(0, before, before + 2);
    EXPECT_EQ(arrived.size(), 2u);
}

// cupsd's default policy keeps a job's names from the backend's user: the banner takes the user and
// the title cupsd hands the backend, and the host it came from; a long title is cut before a
// character that does not fit.
TEST_F(MonitorCupsTest, TheBannerCarriesUserHostAndTitle) {
    const std::string accents = [] {
        std::string text;
        for (int i = 0; i < 70; ++i) {
            text += "\u00e9";
        }
        return text;
    }();
    for (const std::string& title : {std::string("Quarterly report"), accents}) {
        const size_t before = bed_->Listener().Jobs(0).size();
        ASSERT_EQ(PrintAndWait("T0", JobBytes(100), nullptr, "-t '" + title + "'"), IPP_JSTATE_COMPLETED);
        const std::string banner = NewestJob(0, before + 1).banner;
        const std::string whole = "Windows 95 :: localhost :: root :: " + title;
        EXPECT_EQ(whole.compare(0, banner.size(), banner), 0) << banner;
        EXPECT_GE(banner.size(), std::min<size_t>(whole.size(), 127)) << banner;
        EXPECT_TRUE(banner.size() == whole.size() ||
                    (static_cast<unsigned char>(whole[banner.size()]) & 0xC0) != 0x80)
            << banner;
    }
}

// Port names come from print server names: a blank and letters beyond ASCII go into the device URI
// percent-encoded, as Add Port writes it, and the backend finds the port again.
TEST_F(MonitorCupsTest, PortsNamedWithABlankOrLettersBeyondAsciiPrint) {
    const std::optional<ServerRecord> record = ReadServerRecord(bed_->Mac(3));
    ASSERT_TRUE(record);
    for (const std::string port : {"Odd Name", "\u00dcn\u00ef-\u00df"}) {
        ASSERT_TRUE(SavePortEntry(*record, port, false)) << port;
        WritePortTransport(port, kProtocolIp);
        const std::string queue = port == "Odd Name" ? "Odd_Name" : port;
        ASSERT_TRUE(plat::AddPrinter(queue, plat::PortDeviceUri(port))) << port;
        const size_t before = bed_->Listener().Jobs(3).size();
        const std::vector<uint8_t> bytes = JobBytes(2500, 9);
        EXPECT_EQ(PrintAndWait(queue, bytes), IPP_JSTATE_COMPLETED) << port;
        EXPECT_EQ(CardBed::Bytes(NewestJob(3, before + 1)), bytes) << port;
        DeletePortEntry(port);
    }
}

// A card that drops the link right after its ready byte, over TCP and over SPX, leaves the job
// unfinished and the card without an end of job; the backend ends, it does not crash.
TEST_F(MonitorCupsTest, ACardThatDropsTheLinkAfterItsReadyByteLeavesTheJobUnfinished) {
    struct Case {
        const char* queue;
        size_t card;
        sim::JobDrop drop;
    };
    for (const Case& c : {Case{"T1", 1, sim::JobDrop::Close}, Case{"T1", 1, sim::JobDrop::Reset},
                          Case{"S1", 1, sim::JobDrop::Close}, Case{"S1", 1, sim::JobDrop::Reset}}) {
        const std::string what = std::string(c.queue) + (c.drop == sim::JobDrop::Close ? " close" : " reset");
        bed_->Listener().SetFaults(c.card, sim::JobFaults{.drop = c.drop, .dropAfterBytes = 0});
        const size_t before = bed_->Listener().Jobs(c.card).size();
        const int job = cupsd_->Print(c.queue, JobBytes(5000));
        ASSERT_GT(job, 0);
        ASSERT_TRUE(cupsd_->WaitForBackend(job, seconds(60))) << what;
        EXPECT_FALSE(cupsd_->BackendCrashed(job)) << what;
        EXPECT_NE(cupsd_->JobState(job), IPP_JSTATE_COMPLETED) << what;
        cupsd_->Cancel(job);  // not to be tried again later
        for (const sim::JobRecord& arrived : JobsSince(c.card, before, before)) {
            EXPECT_FALSE(arrived.ended) << what;
        }
        WritePortTransport(c.queue, c.queue[0] == 'T' ? kProtocolIp : kProtocolIpx);
    }
}

// A job file that cannot be read, or that ends before its size, and a job cancelled part-way never
// get an end of job: the card would print a complete job of the wrong bytes. The job fails.
TEST_F(MonitorCupsTest, AJobThatDidNotGoWholeGetsNoEndOfJob) {
    StoreLongWaits();
    const std::vector<uint8_t> bytes = JobBytes(kTenMiB, 5);
    enum class Spoil { UnreadableFile, FileEndsEarly, Cancel };
    for (Spoil spoil : {Spoil::UnreadableFile, Spoil::FileEndsEarly, Spoil::Cancel}) {
        const int what = static_cast<int>(spoil);
        const size_t before = bed_->Listener().Jobs(4).size();
        const size_t connections = bed_->Listener().Connections(4);
        bed_->Listener().SetFaults(4, sim::JobFaults{.holdReading = true});
        const int job = cupsd_->Print("T4", bytes, "-H hold");
        ASSERT_GT(job, 0);
        if (spoil == Spoil::UnreadableFile) {
            const std::string file = cupsd_->SpoolFile(job);
            ASSERT_EQ(std::remove(file.c_str()), 0) << file;
            ASSERT_EQ(mkdir(file.c_str(), 0755), 0) << file;
        }
        ASSERT_TRUE(cupsd_->Release(job));
        AwaitConnection(4, connections);
        if (spoil == Spoil::FileEndsEarly) {
            ASSERT_EQ(truncate(cupsd_->SpoolFile(job).c_str(), 1 << 20), 0);
        }
        if (spoil == Spoil::Cancel) {
            ASSERT_TRUE(cupsd_->Cancel(job));
            EXPECT_EQ(cupsd_->WaitForEnd(job, seconds(20)), IPP_JSTATE_CANCELED);
        }
        bed_->Listener().SetFaults(4, sim::JobFaults{});
        const int state = cupsd_->WaitForEnd(job, seconds(60));
        EXPECT_EQ(state, spoil == Spoil::Cancel ? IPP_JSTATE_CANCELED : IPP_JSTATE_ABORTED) << what;
        EXPECT_FALSE(cupsd_->BackendCrashed(job)) << what;
        // The card had the connection; whatever it logged of it has no end.
        bed_->Listener().WaitForJobs(4, before + 1, seconds(5));
        for (const sim::JobRecord& arrived : JobsSince(4, before, before)) {
            EXPECT_FALSE(arrived.ended) << what;
        }
    }
}

// A card that closes in order after it took the whole end of the job, without the answer byte, had
// read everything: the job is done.
TEST_F(MonitorCupsTest, AnOrderlyCloseAfterTheEndOfTheJobCompletesIt) {
    const std::string banner = "Windows 95 :: localhost :: root :: Closed";
    const std::vector<uint8_t> bytes = JobBytes(1000);
    const uint64_t stream = 3 + banner.size() + 3 + bytes.size() + 3;
    bed_->Listener().SetFaults(2, sim::JobFaults{.drop = sim::JobDrop::Close, .dropAfterBytes = stream});
    const size_t before = bed_->Listener().Jobs(2).size();
    EXPECT_EQ(PrintAndWait("T2", bytes, nullptr, "-t Closed"), IPP_JSTATE_COMPLETED);
    const sim::JobRecord arrived = NewestJob(2, before + 1);
    EXPECT_EQ(arrived.banner, banner);
    EXPECT_TRUE(arrived.ended);
}

}  // namespace
}  // namespace portmon::test
