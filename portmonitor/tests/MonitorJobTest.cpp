// The port monitor's entry points carrying jobs to simulated cards over TCP, SPX and DLC, as a spooler
// drives them (no spooler here: no job ever counts as deleted).
#include <gtest/gtest.h>

#include <thread>

#include "platform/spooler/LastError.h"
#include "portmonitor/DlcLink.h"
#include "portmonitor/MonitorEntries.h"
#include "portmonitor/PortList.h"
#include "portmonitor/PortStore.h"
#include "portmonitor/tests/CardBed.h"
#include "transport/DlcCommandLayer.h"
#include "transport/ProtocolMask.h"

namespace portmon::test {
namespace {

using std::chrono::milliseconds;

struct JobRun {
    bool started = false;
    bool written = false;
    bool ended = false;
};

// One job as a spooler runs it: open, start, write until every byte is taken, end, close.
JobRun RunJob(const std::string& portName, const std::vector<uint8_t>& bytes, size_t piece = 4000) {
    JobRun run;
    plat::PortHandle port = nullptr;
    if (!OpenPort(portName.c_str(), &port)) {
        return run;
    }
    run.started = StartDocPort(port, "Queue", 7, 1, nullptr) != 0;
    if (run.started) {
        run.written = true;
        for (size_t offset = 0; offset < bytes.size() || (bytes.empty() && offset == 0);) {
            const size_t count = std::min(piece, bytes.size() - offset);
            uint32_t written = 0;
            if (!WritePort(port, bytes.data() + offset, static_cast<uint32_t>(count), &written)) {
                run.written = false;
                break;
            }
            // Whole packets of at most 1490 bytes: several over a stream, one per DLC frame.
            EXPECT_TRUE(written == count || (written > 0 && written % 1490 == 0)) << written;
            offset += written;
            if (bytes.empty()) {
                break;
            }
        }
        run.ended = EndDocPort(port) != 0;
    }
    ClosePort(port);
    return run;
}

class MonitorJobTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { DlcInitialize(); }

    // A port named after the card, on the card's store entry, preferring `transport` (or, with
    // `only`, knowing no other).
    std::string AddPort(size_t card, uint32_t transport, const std::string& name = "", bool only = false) {
        bed_.StoreCard(card, transport, only ? static_cast<uint8_t>(transport) : 0);
        const std::string portName = name.empty() ? "P" + std::to_string(card) : name;
        std::optional<ServerRecord> record = ReadServerRecord(bed_.Mac(card));
        EXPECT_TRUE(record && record->Complete());
        EXPECT_TRUE(SavePortEntry(*record, portName, false));
        PushPort(std::make_unique<CNPC>(*record, portName, ReadMonitorSettings()));
        ports_.push_back(portName);
        return portName;
    }

    void SetUp() override { CardBed::StoreQuickSettings(); }
    void TearDown() override {
        for (const std::string& port : ports_) {
            RemovePort(port);
            DeletePortEntry(port);
        }
    }

    // The jobs the card logged from the `from`th on, once it logged `count` in all.
    std::vector<sim::JobRecord> JobsSince(size_t card, size_t from, size_t count) {
        return bed_.JobsSince(card, from, count, milliseconds(10000));
    }

    sim::JobRecord OnlyJob(size_t card) {
        EXPECT_TRUE(bed_.Listener().WaitForJobs(card, 1, milliseconds(10000)));
        std::vector<sim::JobRecord> jobs = bed_.Listener().Jobs(card);
        EXPECT_EQ(jobs.size(), 1u);
        return jobs.empty() ? sim::JobRecord{} : jobs.back();
    }

    CardBed bed_{3};
    std::vector<std::string> ports_;
};

TEST_F(MonitorJobTest, JobsOfEverySizeArriveByteForByteOnEachTransport) {
    struct Case {
        uint32_t transport;
        const char* name;
    };
    const Case transports[] = {{kProtocolIp, "tcp"}, {kProtocolIpx, "spx"}, {kProtocolDlc, "dlc"}};
    size_t card = 0;
    for (const Case& transport : transports) {
        const std::string port = AddPort(card, transport.transport);
        size_t jobs = 0;
        for (size_t size : {0u, 1u, 1490u, 1491u, 100000u}) {
            const std::vector<uint8_t> bytes = JobBytes(size, static_cast<uint32_t>(size));
            const JobRun run = RunJob(port, bytes);
            EXPECT_TRUE(run.started && run.written && run.ended) << transport.name << " " << size;
            ASSERT_TRUE(bed_.Listener().WaitForJobs(card, ++jobs, milliseconds(10000))) << transport.name;
            const sim::JobRecord job = bed_.Listener().Jobs(card).back();
            EXPECT_EQ(job.transport, transport.name);
            EXPECT_EQ(job.banner, "Windows");
            EXPECT_TRUE(CardBed::Bytes(job) == bytes) << transport.name << " " << size;
            EXPECT_EQ(job.checksum, Sum(bytes));
            EXPECT_EQ(job.framingErrors, 0u);
            EXPECT_TRUE(job.ended);
            EXPECT_LE(job.largestPacket, 1490u);
            EXPECT_EQ(FindPort(port)->port->Checksum(), Sum(bytes));
        }
        ++card;
    }
}

TEST_F(MonitorJobTest, ABusyCardIsWaitedForThenPrints) {
    const std::string port = AddPort(0, kProtocolIp);
    bed_.Listener().SetFaults(0, sim::JobFaults{.busyAnswers = 2});
    const std::vector<uint8_t> bytes = JobBytes(3000);
    EXPECT_TRUE(RunJob(port, bytes).ended);
    EXPECT_EQ(CardBed::Bytes(OnlyJob(0)), bytes);
    EXPECT_EQ(bed_.Listener().Connections(0), 3u);
}

TEST_F(MonitorJobTest, AResetInTheMiddleFailsTheJobWithNoByteTwice) {
    for (uint32_t transport : {kProtocolIp, kProtocolIpx, kProtocolDlc}) {
        const size_t card = transport == kProtocolIp ? 0 : transport == kProtocolIpx ? 1 : 2;
        const std::string port = AddPort(card, transport);
        bed_.Listener().SetFaults(card, sim::JobFaults{.drop = sim::JobDrop::Reset, .dropAfterBytes = 5000});
        const std::vector<uint8_t> bytes = JobBytes(400000);
        const JobRun run = RunJob(port, bytes);
        EXPECT_TRUE(run.started);
        EXPECT_FALSE(run.written && run.ended) << transport;
        const sim::JobRecord job = OnlyJob(card);
        EXPECT_FALSE(job.ended);
        const std::vector<uint8_t> arrived = CardBed::Bytes(job);
        ASSERT_LE(arrived.size(), bytes.size());
        EXPECT_TRUE(std::equal(arrived.begin(), arrived.end(), bytes.begin())) << transport;
        EXPECT_EQ(FindPort(port)->port->State(), PM32_PORT_CLOSED);
    }
}

// Every way a card can drop the link fails the job, and never brings the monitor down (a card that
// closed right after its ready byte once crashed it); only an orderly close over TCP after the whole
// end of the job leaves the job done: the card had read everything. Over SPX a close says nothing of
// what the card read (the segment closes a connection with bytes unread), so there the answer byte
// alone ends a job.
TEST_F(MonitorJobTest, ALinkThatDropsFailsTheJobOnlyAnOrderlyCloseAfterTheEndIsDone) {
    const std::vector<uint8_t> bytes = JobBytes(1000);
    constexpr uint64_t kBanner = 3 + 7;  // "Windows"
    constexpr uint64_t kStream = kBanner + 3 + 1000 + 3;
    struct Drop {
        const char* where;
        sim::JobDrop drop;
        uint64_t after;
        bool doneOverTcp;
    };
    const Drop drops[] = {
        {"after the ready byte", sim::JobDrop::Close, 0, false},
        {"after the ready byte", sim::JobDrop::Reset, 0, false},
        {"in the banner", sim::JobDrop::Reset, 2, false},
        {"in the banner", sim::JobDrop::Close, 5, false},
        {"in the data", sim::JobDrop::Reset, kBanner + 500, false},
        {"in the end of the job", sim::JobDrop::Reset, kStream - 1, false},
        {"in the end of the job", sim::JobDrop::Close, kStream - 1, false},
        {"after the end of the job", sim::JobDrop::Reset, kStream, false},
        {"after the end of the job", sim::JobDrop::Close, kStream, true},
    };
    for (uint32_t transport : {kProtocolIp, kProtocolIpx}) {
        const size_t card = transport == kProtocolIp ? 0 : 1;
        const std::string port = AddPort(card, transport, "", true);
        for (const Drop& drop : drops) {
            const std::string what = std::string(transport == kProtocolIp ? "tcp " : "spx ") + drop.where;
            const size_t before = bed_.Listener().Jobs(card).size();
            bed_.Listener().SetFaults(card, sim::JobFaults{.drop = drop.drop, .dropAfterBytes = drop.after});
            const JobRun run = RunJob(port, bytes);
            EXPECT_EQ(run.started && run.written && run.ended, drop.doneOverTcp && transport == kProtocolIp)
                << what;
            EXPECT_EQ(FindPort(port)->port->State(), PM32_PORT_CLOSED) << what;
            if (drop.after > 0) {
                for (const sim::JobRecord& job : JobsSince(card, before, before + 1)) {
                    EXPECT_EQ(job.ended, drop.after >= kStream) << what;
                }
            }
        }
    }
}

// A card that never answers holds a job for one wait of LinkRetries x LinkTimeOut at the most, at
// the ready byte and at the end's answer; the receive's own rounds and the caller's once nested,
// LinkRetries^2 x LinkTimeOut.
TEST_F(MonitorJobTest, ASilentCardHoldsAJobForOneWaitAtMost) {
    ASSERT_TRUE(CardBed::StoreLinkWaits(1000, 3));
    const std::string port = AddPort(0, kProtocolIp, "", true);
    const auto bound = std::chrono::milliseconds(2 * 3 * 1000);  // twice the one wait, a third of nested ones
    plat::PortHandle handle = nullptr;
    ASSERT_TRUE(OpenPort(port.c_str(), &handle));

    bed_.Listener().SetFaults(0, sim::JobFaults{.readyDelayMs = 60000});
    auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(StartDocPort(handle, "Queue", 7, 1, nullptr));
    EXPECT_LT(std::chrono::steady_clock::now() - started, bound);

    bed_.Listener().SetFaults(0, sim::JobFaults{.noAnswer = true});
    ASSERT_TRUE(StartDocPort(handle, "Queue", 7, 1, nullptr));
    started = std::chrono::steady_clock::now();
    EXPECT_TRUE(EndDocPort(handle));
    EXPECT_LT(std::chrono::steady_clock::now() - started, bound);
    ClosePort(handle);
}

TEST_F(MonitorJobTest, ACardThatStopsReadingFailsTheJob) {
    const std::string port = AddPort(0, kProtocolIp);
    bed_.Listener().SetFaults(0, sim::JobFaults{.stopReading = true});
    const JobRun run = RunJob(port, JobBytes(8 << 20), 1 << 20);
    EXPECT_TRUE(run.started);
    EXPECT_FALSE(run.written);
    EXPECT_FALSE(run.ended);
}

TEST_F(MonitorJobTest, NoAnswerAfterTheEndStillEndsTheJob) {
    const std::string port = AddPort(0, kProtocolIp);
    bed_.Listener().SetFaults(0, sim::JobFaults{.readyDelayMs = 400, .noAnswer = true});
    const std::vector<uint8_t> bytes = JobBytes(10);
    EXPECT_TRUE(RunJob(port, bytes).ended);
    EXPECT_EQ(CardBed::Bytes(OnlyJob(0)), bytes);
}

TEST_F(MonitorJobTest, FallsBackWhenThePreferredTransportIsDownAndKeepsWhatWorked) {
    const std::string port = AddPort(0, kProtocolIp);
    bed_.Listener().SetFaults(0, sim::JobFaults{.refuseConnects = true});
    // TCP, DLC and SPX refuse in turn: the job cannot start.
    EXPECT_FALSE(RunJob(port, JobBytes(5)).started);
    EXPECT_EQ(FindPort(port)->port->PrimaryProtocol(), kProtocolIpx);

    // The card listens again: the port's next job starts on the transport tried last.
    bed_.Listener().SetFaults(0, sim::JobFaults{});
    EXPECT_TRUE(RunJob(port, JobBytes(5)).ended);
    EXPECT_EQ(OnlyJob(0).transport, "spx");
    EXPECT_EQ(ReadPortTransport(port), kProtocolIpx);
}

TEST_F(MonitorJobTest, TwoDlcJobsAtOnceBothFinish) {
    const std::string first = AddPort(0, kProtocolDlc);
    const std::string second = AddPort(1, kProtocolDlc);
    const std::vector<uint8_t> one = JobBytes(200000, 1);
    const std::vector<uint8_t> two = JobBytes(150000, 2);
    JobRun runOne;
    std::thread other([&] { runOne = RunJob(first, one); });
    const JobRun runTwo = RunJob(second, two);
    other.join();
    EXPECT_TRUE(runOne.ended);
    EXPECT_TRUE(runTwo.ended);
    for (size_t card : {0u, 1u}) {
        const sim::JobRecord job = OnlyJob(card);
        EXPECT_EQ(job.transport, "dlc");
        EXPECT_EQ(job.checksum, Sum(card == 0 ? one : two));
    }
    EXPECT_EQ(FindPort(first)->port->Checksum(), Sum(one));
    EXPECT_EQ(FindPort(second)->port->Checksum(), Sum(two));
}

TEST_F(MonitorJobTest, ABusyDlcReceiverIsWaitedFor) {
    const std::string port = AddPort(0, kProtocolDlc);
    bed_.Listener().SetFaults(0, sim::JobFaults{.receiverBusyMs = 500});
    const std::vector<uint8_t> bytes = JobBytes(60000);
    EXPECT_TRUE(RunJob(port, bytes).ended);
    const sim::JobRecord job = OnlyJob(0);
    EXPECT_EQ(job.transport, "dlc");
    EXPECT_EQ(CardBed::Bytes(job), bytes);
}

// A hardware address that is not hexadecimal is refused, never read as some other station.
TEST_F(MonitorJobTest, ADlcAddressThatIsNotHexadecimalIsRefused) {
    DlcLink link(LinkTiming{});
    for (const char* address : {"00C0DE00060Z", "00C0DE0006", "00C0DE0006010", ""}) {
        EXPECT_EQ(link.Connect(address, 8), kLinkBadAddress) << address;
    }
    EXPECT_EQ(link.Connect(bed_.Mac(0).c_str(), 8), kLinkConnected);
}

}  // namespace
}  // namespace portmon::test
