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

    // A port named after the card, on the card's store entry, preferring `transport`.
    std::string AddPort(size_t card, uint32_t transport, const std::string& name = "") {
        bed_.StoreCard(card, transport);
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
