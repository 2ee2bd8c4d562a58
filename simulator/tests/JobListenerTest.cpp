#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "simulator/JobControlCommands.h"
#include "simulator/JobListener.h"

namespace sim::test {
namespace {

using std::chrono::milliseconds;

// The monitor's side of one TCP connection to a card, as plain socket calls.
class JobClient {
  public:
    explicit JobClient(const char* address) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(JobTcpPort);
        inet_pton(AF_INET, address, &to.sin_addr);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
        connectError_ = errno;
    }
    ~JobClient() { close(fd_); }
    bool Connected() const { return connected_; }
    int ConnectError() const { return connectError_; }

    // The next byte; kEnd at the end of the stream, kReset after a reset, kNone when none came in
    // time.
    static constexpr int kEnd = -1;
    static constexpr int kNone = -2;
    static constexpr int kReset = -3;
    int ReadByte(int timeoutMs = 5000) {
        pollfd wait{fd_, POLLIN, 0};
        if (poll(&wait, 1, timeoutMs) != 1) {
            return kNone;
        }
        uint8_t byte = 0;
        const ssize_t got = recv(fd_, &byte, 1, 0);
        return got == 1 ? byte : got == 0 ? kEnd : errno == ECONNRESET ? kReset : kEnd;
    }
    bool Send(const std::vector<uint8_t>& bytes) {
        return send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
    }

  private:
    int fd_;
    bool connected_;
    int connectError_;
};

std::vector<uint8_t> Job(const std::string& banner, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> stream{JobBannerPacket, 0, static_cast<uint8_t>(banner.size())};
    stream.insert(stream.end(), banner.begin(), banner.end());
    stream.insert(stream.end(),
                  {JobDataPacket, static_cast<uint8_t>(data.size() >> 8), static_cast<uint8_t>(data.size())});
    stream.insert(stream.end(), data.begin(), data.end());
    stream.insert(stream.end(), {JobEndPacket, 0, 0});
    return stream;
}

CardDescription JobCard() {
    CardDescription card;
    card.name = "Job-1";
    card.mac = {0x00, 0xC0, 0xDE, 0x00, 0x05, 0x01};
    card.ip = {127, 0, 5, 1};
    card.protocols = Bit(Protocol::Ip);
    return card;
}

class JobListenerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        listener_.AddCard(JobCard());
        std::string error;
        ASSERT_TRUE(listener_.Start(error)) << error;
    }

    JobListener listener_;
};

// The card logs a job when its connection ends.
TEST_F(JobListenerTest, AJobIsAnsweredAndLoggedByteForByte) {
    {
        JobClient client("127.0.5.1");
        ASSERT_TRUE(client.Connected());
        EXPECT_EQ(client.ReadByte(), JobReadyByte);
        ASSERT_TRUE(client.Send(Job("Doc", {1, 2, 250})));
        EXPECT_EQ(client.ReadByte(), JobAnswerByte);
    }
    ASSERT_TRUE(listener_.WaitForJobs(0, 1, milliseconds(5000)));
    const JobRecord job = listener_.Jobs(0).at(0);
    EXPECT_EQ(job.transport, "tcp");
    EXPECT_EQ(job.banner, "Doc");
    EXPECT_EQ(job.firstBytes, (std::vector<uint8_t>{1, 2, 250}));
    EXPECT_EQ(job.checksum, 253u);
    EXPECT_TRUE(job.ended);
}

TEST_F(JobListenerTest, BusyTwiceThenReady) {
    listener_.SetFaults(0, JobFaults{.busyAnswers = 2});
    for (int busy = 0; busy < 2; ++busy) {
        JobClient client("127.0.5.1");
        EXPECT_EQ(client.ReadByte(), JobBusyByte);
        EXPECT_EQ(client.ReadByte(), JobClient::kEnd);  // the card closes after a busy answer
    }
    JobClient client("127.0.5.1");
    EXPECT_EQ(client.ReadByte(), JobReadyByte);
    EXPECT_EQ(listener_.Connections(0), 3u);
}

TEST_F(JobListenerTest, RefusedConnectsUntilSwitchedOff) {
    listener_.SetFaults(0, JobFaults{.refuseConnects = true});
    {
        JobClient client("127.0.5.1");
        EXPECT_FALSE(client.Connected());
        EXPECT_EQ(client.ConnectError(), ECONNREFUSED);
    }
    listener_.SetFaults(0, JobFaults{});
    JobClient client("127.0.5.1");
    EXPECT_EQ(client.ReadByte(), JobReadyByte);
}

TEST_F(JobListenerTest, ADropAfterSomeBytesLogsAnUnfinishedJob) {
    struct Case {
        JobDrop drop;
        int seen;
    };
    for (const Case& c : {Case{JobDrop::Reset, JobClient::kReset}, Case{JobDrop::Close, JobClient::kEnd}}) {
        const size_t before = listener_.Jobs(0).size();
        listener_.SetFaults(0, JobFaults{.drop = c.drop, .dropAfterBytes = 10});
        JobClient client("127.0.5.1");
        EXPECT_EQ(client.ReadByte(), JobReadyByte);
        // Just the bytes the card takes: with more left unread, a close is a reset.
        const std::vector<uint8_t> stream = Job("Doc", std::vector<uint8_t>(5, 1));
        client.Send(std::vector<uint8_t>(stream.begin(), stream.begin() + 10));
        EXPECT_EQ(client.ReadByte(), c.seen);
        ASSERT_TRUE(listener_.WaitForJobs(0, before + 1, milliseconds(5000)));
        const JobRecord job = listener_.Jobs(0).back();
        EXPECT_FALSE(job.ended);
        EXPECT_EQ(job.byteCount, 1u);  // 6 banner bytes, 3 header bytes, 1 data byte
    }
}

// A drop of 0 bytes comes right after the ready byte; a drop after the whole stream ends it without
// the answer byte.
TEST_F(JobListenerTest, ADropRightAfterTheReadyByteOrAfterTheWholeJob) {
    const std::vector<uint8_t> job = Job("Doc", {1, 2});
    listener_.SetFaults(0, JobFaults{.drop = JobDrop::Close, .dropAfterBytes = 0});
    {
        JobClient client("127.0.5.1");
        EXPECT_EQ(client.ReadByte(), JobReadyByte);
        EXPECT_EQ(client.ReadByte(), JobClient::kEnd);
    }
    listener_.SetFaults(0, JobFaults{.drop = JobDrop::Close, .dropAfterBytes = job.size()});
    JobClient client("127.0.5.1");
    EXPECT_EQ(client.ReadByte(), JobReadyByte);
    client.Send(job);
    EXPECT_EQ(client.ReadByte(), JobClient::kEnd);
    ASSERT_TRUE(listener_.WaitForJobs(0, 1, milliseconds(5000)));
    EXPECT_TRUE(listener_.Jobs(0).at(0).ended);
}

// A held card takes nothing, so a job cannot end; released, it takes the whole job.
TEST_F(JobListenerTest, AHeldCardTakesTheJobOnceReleased) {
    listener_.SetFaults(0, JobFaults{.holdReading = true});
    JobClient client("127.0.5.1");
    EXPECT_EQ(client.ReadByte(), JobReadyByte);
    ASSERT_TRUE(client.Send(Job("Doc", {1, 2, 3})));
    EXPECT_EQ(client.ReadByte(300), JobClient::kNone);
    listener_.SetFaults(0, JobFaults{});
    EXPECT_EQ(client.ReadByte(), JobAnswerByte);
}

TEST_F(JobListenerTest, NoAnswerAndALateReadyByte) {
    listener_.SetFaults(0, JobFaults{.readyDelayMs = 300, .noAnswer = true});
    JobClient client("127.0.5.1");
    EXPECT_EQ(client.ReadByte(100), -2);
    EXPECT_EQ(client.ReadByte(), JobReadyByte);
    client.Send(Job("", {}));
    EXPECT_EQ(client.ReadByte(500), -2);
}

TEST_F(JobListenerTest, ControlLinesSwitchFaultsAndListJobs) {
    struct Case {
        const char* line;
        const char* reply;
    };
    const Case cases[] = {
        {"job-fault Job-1 busy 1", "ok"},
        {"job-fault 00C0DE000501 late 5", "ok"},
        {"job-fault #0 no-answer", "ok"},
        {"job-fault #1 busy 1", "error unknown card \"#1\""},
        {"job-fault Job-1 refuse maybe", "error expected on or off"},
        {"job-fault Job-1 busy lots", "error expected a number"},
        {"job-fault Job-1 hold", "ok"},
        {"job-fault Job-1 close 0", "ok"},
        {"job-fault Job-1 jam", "error unknown job fault \"jam\""},
        {"jobs", "error usage: jobs CARD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunJobCommand(listener_, c.line), c.reply) << c.line;
    }
    EXPECT_EQ(listener_.Faults(0), (JobFaults{.busyAnswers = 1,
                                              .readyDelayMs = 5,
                                              .holdReading = true,
                                              .drop = JobDrop::Close,
                                              .noAnswer = true}));
    EXPECT_FALSE(RunJobCommand(listener_, "list"));
    {
        JobClient busy("127.0.5.1");
        EXPECT_EQ(busy.ReadByte(), JobBusyByte);
    }
    EXPECT_EQ(RunJobCommand(listener_, "job-fault Job-1 clear"), "ok");
    {
        JobClient client("127.0.5.1");
        EXPECT_EQ(client.ReadByte(), JobReadyByte);
        client.Send(Job("Doc", {1, 2}));
        EXPECT_EQ(client.ReadByte(), JobAnswerByte);
    }
    ASSERT_TRUE(listener_.WaitForJobs(0, 1, milliseconds(5000)));
    EXPECT_EQ(RunJobCommand(listener_, "jobs Job-1"),
              "#0 tcp bytes 2 packets 1 errors 0 checksum 00000003 ended yes banner \"Doc\"\nok 1 jobs");
}

// Sessions end one after another: a card takes a long run of quick connections, each answered
// (the threads of ended sessions once stayed until the listener stopped, and about 32,700 of them
// aborted the simulator).
TEST_F(JobListenerTest, TakesAHundredThousandQuickConnections) {
    constexpr size_t kConnections = 100000;
    size_t ready = 0;
    for (size_t i = 0; i < kConnections; ++i) {
        JobClient client("127.0.5.1");
        ready += client.ReadByte() == JobReadyByte ? 1 : 0;
    }
    EXPECT_EQ(ready, kConnections);
    EXPECT_EQ(listener_.Connections(0), kConnections);
    JobClient client("127.0.5.1");
    EXPECT_EQ(client.ReadByte(), JobReadyByte);
    ASSERT_TRUE(client.Send(Job("Doc", {7})));
    EXPECT_EQ(client.ReadByte(), JobAnswerByte);
}

// Beyond its bound of sessions under way a card answers busy and closes, as a printing card does;
// a session that ends makes room again.
TEST(JobListenerBound, ConnectionsBeyondTheBoundAreAnsweredBusy) {
    JobListener listener(JobListenerOptions{.keeping = {}, .maxSessions = 2});
    listener.AddCard(JobCard());
    std::string error;
    ASSERT_TRUE(listener.Start(error)) << error;
    auto first = std::make_unique<JobClient>("127.0.5.1");
    JobClient second("127.0.5.1");
    ASSERT_EQ(first->ReadByte(), JobReadyByte);
    ASSERT_EQ(second.ReadByte(), JobReadyByte);
    {
        JobClient beyond("127.0.5.1");
        EXPECT_EQ(beyond.ReadByte(), JobBusyByte);
        EXPECT_EQ(beyond.ReadByte(), JobClient::kEnd);
    }
    EXPECT_EQ(listener.Connections(0), 3u);
    first.reset();
    // The first session ends once its thread has seen the close: a new connection is served then.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int answer = JobBusyByte;
    while (answer == JobBusyByte && std::chrono::steady_clock::now() < deadline) {
        JobClient next("127.0.5.1");
        answer = next.ReadByte();
    }
    EXPECT_EQ(answer, JobReadyByte);
}

// A job of any size costs the card the same memory: three jobs of 100 MiB are counted and summed,
// and their records keep only the first bytes.
TEST_F(JobListenerTest, LargeJobsKeepOnlyTheirFirstBytes) {
    constexpr size_t kJobBytes = 100 << 20;
    std::vector<uint8_t> packet(3 + 1490);
    packet[0] = JobDataPacket;
    packet[1] = 1490 >> 8;
    packet[2] = 1490 & 0xFF;
    for (size_t i = 3; i < packet.size(); ++i) {
        packet[i] = static_cast<uint8_t>(i * 7);
    }
    uint32_t packetSum = 0;
    for (size_t i = 3; i < packet.size(); ++i) {
        packetSum += packet[i];
    }
    std::vector<uint8_t> run;
    for (int i = 0; i < 64; ++i) {
        run.insert(run.end(), packet.begin(), packet.end());
    }
    const size_t packets = kJobBytes / 1490;
    for (int job = 0; job < 3; ++job) {
        JobClient client("127.0.5.1");
        ASSERT_EQ(client.ReadByte(), JobReadyByte);
        for (size_t sent = 0; sent < packets; sent += 64) {
            ASSERT_TRUE(client.Send(run));
        }
        ASSERT_TRUE(client.Send({JobEndPacket, 0, 0}));
        EXPECT_EQ(client.ReadByte(30000), JobAnswerByte);
    }
    ASSERT_TRUE(listener_.WaitForJobs(0, 3, milliseconds(30000)));
    const size_t sentPackets = (packets + 63) / 64 * 64;
    for (const JobRecord& job : listener_.Jobs(0)) {
        EXPECT_EQ(job.byteCount, sentPackets * 1490);
        EXPECT_EQ(job.checksum, static_cast<uint32_t>(sentPackets * packetSum));
        EXPECT_EQ(job.firstBytes.size(), JobKeeping{}.firstBytes);
        EXPECT_TRUE(job.ended);
    }
}

}  // namespace
}  // namespace sim::test
