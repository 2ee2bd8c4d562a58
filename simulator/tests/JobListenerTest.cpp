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

    // The next byte, -1 at the end of the stream or a reset, -2 when none came in time.
    int ReadByte(int timeoutMs = 5000) {
        pollfd wait{fd_, POLLIN, 0};
        if (poll(&wait, 1, timeoutMs) != 1) {
            return -2;
        }
        uint8_t byte = 0;
        return recv(fd_, &byte, 1, 0) == 1 ? byte : -1;
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

class JobListenerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CardDescription card;
        card.name = "Job-1";
        card.mac = {0x00, 0xC0, 0xDE, 0x00, 0x05, 0x01};
        card.ip = {127, 0, 5, 1};
        card.protocols = Bit(Protocol::Ip);
        listener_.AddCard(card);
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
    EXPECT_EQ(job.bytes, (std::vector<uint8_t>{1, 2, 250}));
    EXPECT_EQ(job.checksum, 253u);
    EXPECT_TRUE(job.ended);
}

TEST_F(JobListenerTest, BusyTwiceThenReady) {
    listener_.SetFaults(0, JobFaults{.busyAnswers = 2});
    for (int busy = 0; busy < 2; ++busy) {
        JobClient client("127.0.5.1");
        EXPECT_EQ(client.ReadByte(), JobBusyByte);
        EXPECT_EQ(client.ReadByte(), -1);  // the card closes after a busy answer
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

TEST_F(JobListenerTest, ResetAfterSomeBytesLogsAnUnfinishedJob) {
    listener_.SetFaults(0, JobFaults{.resetAfterBytes = 10});
    JobClient client("127.0.5.1");
    EXPECT_EQ(client.ReadByte(), JobReadyByte);
    client.Send(Job("Doc", std::vector<uint8_t>(100, 1)));
    EXPECT_EQ(client.ReadByte(), -1);
    ASSERT_TRUE(listener_.WaitForJobs(0, 1, milliseconds(5000)));
    const JobRecord job = listener_.Jobs(0).at(0);
    EXPECT_FALSE(job.ended);
    EXPECT_EQ(job.byteCount, 1u);  // 6 banner bytes, 3 header bytes, 1 data byte
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
        {"job-fault Job-1 jam", "error unknown job fault \"jam\""},
        {"jobs", "error usage: jobs CARD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunJobCommand(listener_, c.line), c.reply) << c.line;
    }
    EXPECT_EQ(listener_.Faults(0), (JobFaults{.busyAnswers = 1, .readyDelayMs = 5, .noAnswer = true}));
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

}  // namespace
}  // namespace sim::test
