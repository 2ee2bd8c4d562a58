#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "simulator/StatusTraps.h"
#include "simulator/tests/CardFixture.h"
#include "simulator/tests/ProgramOutput.h"
#include "simulator/tests/UdpTestClient.h"
#include "tests/ChildLines.h"

namespace sim::test {
namespace {

using std::chrono::milliseconds;
using testsupport::NextChildLine;

constexpr std::chrono::milliseconds kReadyWait{120000};
constexpr std::chrono::milliseconds kAnswerWait{60000};  // from the program: a bound for a loaded machine

std::string RuntimeFolder() {
    const char* runtime = std::getenv("VORLANE_RUNTIME");
    return runtime != nullptr ? runtime : "/tmp";
}

// The program started on a description with a control socket, allowed `descriptors` open files (0:
// as many as this process); its pid, and its standard output in `output`.
pid_t StartProgram(const std::string& description, const std::string& socketPath, int& output,
                   rlim_t descriptors = 0) {
    int out[2];
    if (pipe(out) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        rlimit limit{};
        getrlimit(RLIMIT_NOFILE, &limit);
        limit.rlim_cur = descriptors != 0 ? descriptors : limit.rlim_cur;
        setrlimit(RLIMIT_NOFILE, &limit);
        execl(PRINTSERVER_SIM, PRINTSERVER_SIM, "--control", socketPath.c_str(), description.c_str(),
              nullptr);
        _exit(127);
    }
    close(out[1]);
    output = out[0];
    return child;
}

// Its first line, within a bound for a loaded machine; the reason when none came.
std::string FirstLine(pid_t child, int output) {
    std::string unread;
    std::string why;
    return NextChildLine(child, output, unread, kReadyWait, &why).value_or(why);
}

void EndProgram(pid_t child) {
    if (child > 0) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
    }
}

// The program in the background, talked to over its control socket.
class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = RuntimeFolder();
        std::ofstream(folder + "/net.txt") << "# two cards and a NetWare file server\n"
                                              "card PS-1 ip=127.0.7.1 location=\"Room 1\"\n"
                                              "netware server FS1\n"
                                              "cards 1 Extra ip=127.0.7.2 engine=external\n"
                                              "netware volume FS1 SYS\n";
        socketPath = folder + "/sim.sock";
        int output = -1;
        child = StartProgram(folder + "/net.txt", socketPath, output);
        ASSERT_GT(child, 0);
        const std::string ready = FirstLine(child, output);
        close(output);
        ASSERT_EQ(ready, "ready 2 cards");
    }

    void TearDown() override { EndProgram(child); }

    // A client of the control socket; -1 when it cannot connect.
    int Connect() {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            close(fd);
            return -1;
        }
        return fd;
    }

    static void SendLine(int fd, const std::string& line) {
        std::string request = line + "\n";
        EXPECT_EQ(write(fd, request.data(), request.size()), static_cast<ssize_t>(request.size()));
    }

    std::string Command(const std::string& line) {
        int fd = Connect();
        if (fd < 0) {
            return "no connection";
        }
        SendLine(fd, line);
        std::string reply;
        char c;
        while (read(fd, &c, 1) == 1 && c != '\n') {
            reply += c;
        }
        close(fd);
        return reply;
    }

    std::string folder;
    std::string socketPath;
    pid_t child = -1;
    UdpTestClient client;
};

TEST_F(ProgramTest, ControlChannelSwitchesFaultsAndStatusOfARunningNetwork) {
    ASSERT_TRUE(client.SendTo({127, 0, 7, 2}, 161, EncodeGet(1, {"1.3.6.1.2.1.1.5.0"})));
    std::optional<Received> answer = client.Receive(kAnswerWait);
    ASSERT_TRUE(answer);
    EXPECT_EQ(DecodeAnswer(answer->bytes)->bindings.at(0).second, MibValue::Text("Extra-1"));

    EXPECT_EQ(Command("fault Extra-1 ip silent"), "ok");
    ASSERT_TRUE(client.SendTo({127, 0, 7, 2}, 161, EncodeGet(2, {"1.3.6.1.2.1.1.5.0"})));
    EXPECT_FALSE(client.Receive(milliseconds(300)));

    // A trap receiver on the SNMP page of PS-1, then a status change through the control channel.
    UdpTestClient listener(TrapPort);
    const std::string pair = E + ".12.6.2.2.1";
    ASSERT_TRUE(client.SendTo({127, 0, 7, 1}, 161,
                              EncodeRequest(kPduSet, 3,
                                            {{pair + ".2.1", MibValue::Ip({127, 0, 0, 1})},
                                             {pair + ".3.1", MibValue::Text("alerts")},
                                             {pair + ".4.1", MibValue::Integer(1)}})));
    ASSERT_TRUE(client.Receive(kAnswerWait));
    EXPECT_EQ(Command("status PS-1 1031"), "ok");
    std::optional<Received> trap = listener.Receive(kAnswerWait);
    ASSERT_TRUE(trap);
    EXPECT_EQ(DecodeTrapMessage(trap->bytes)->bindings.at(0).second, MibValue::Integer(1031));

    EXPECT_EQ(Command("quit"), "ok");
    int status = -1;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    child = -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(ProgramTest, AClientThatHangsUpBeforeItsReplyLeavesTheProgramServing) {
    int fd = Connect();
    ASSERT_GE(fd, 0);
    shutdown(fd, SHUT_RD);  // the reply will find nobody to read it
    SendLine(fd, "list");
    EXPECT_EQ(Command("status PS-1 0"), "ok");
    close(fd);
}

TEST_F(ProgramTest, TheDescriptionsNetWareLinesSeedItsNetworkBeforeItIsReady) {
    EXPECT_EQ(Command("netware show FS1"), "volume SYS") << "the first line of the listing";
}

TEST(ProgramStart, ASiteOfMoreCardsThanTheUsualDescriptorLimitComesUp) {
    // Every card has its job port, a descriptor of its own: more cards than the soft limit of 1024
    // that a login on a fresh machine has.
    const std::string file = RuntimeFolder() + "/many.txt";
    std::ofstream(file) << "cards 1100 Many ip=127.0.20.1 protocols=ip engine=external\n";
    int output = -1;
    const pid_t child = StartProgram(file, RuntimeFolder() + "/many.sock", output, 1024);
    ASSERT_GT(child, 0);
    EXPECT_EQ(FirstLine(child, output), "ready 1100 cards");
    close(output);
    EndProgram(child);
}

TEST(ProgramStart, ARefusedNetWareLineIsNamedAndEndsTheProgram) {
    const std::string file = RuntimeFolder() + "/netware.txt";
    std::ofstream(file) << "card A ip=127.0.7.3\nnetware server FS1\nnetware queue FS2 Q1\n";
    ProgramResult result = RunProgram({"timeout", "20", PRINTSERVER_SIM, file});
    EXPECT_EQ(result.exitCode, 2) << result.output;
    EXPECT_NE(result.output.find(file + ": line 3: error unknown server \"FS2\""), std::string::npos)
        << result.output;
}

TEST(ProgramStart, AnEndlessDescriptionIsRefused) {
    ProgramResult result = RunProgram({"timeout", "20", PRINTSERVER_SIM, "/dev/zero"});
    EXPECT_EQ(result.exitCode, 2) << result.output;
    EXPECT_NE(result.output.find("at most 1 MiB"), std::string::npos) << result.output;
}

}  // namespace
}  // namespace sim::test
