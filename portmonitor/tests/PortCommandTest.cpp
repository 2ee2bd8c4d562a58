// `vorlane-port` as an administrator runs it, against a private cupsd whose queues print through the
// backend to simulated cards: the list, delete with the queues, the refusals while a queue holds a
// job, and prune after `lpadmin -x`.
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/spooler/Spooler.h"
#include "portmonitor/PortStore.h"
#include "portmonitor/tests/CardBed.h"
#include "portmonitor/tests/HeldJob.h"
#include "portmonitor/tests/PrivateCupsd.h"
#include "simulator/Simulator.h"
#include "transport/ProtocolMask.h"

namespace portmon::test {
namespace {

constexpr size_t kCards = 2;

struct Outcome {
    int code = -1;
    std::string output;  // standard output and error
};

// Runs the command with the arguments; `env` goes before it (as `env NAME=VALUE`, `-u NAME`).
Outcome PortCommand(const std::string& arguments, const std::string& env = "QT_QPA_PLATFORM=offscreen") {
    const std::string command =
        "env " + env + " timeout 120 " + std::string(VORLANE_PORT_COMMAND) + " " + arguments + " 2>&1";
    Outcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[512];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        outcome.output += buffer;
    }
    const int status = pipe != nullptr ? pclose(pipe) : -1;
    outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

// The list's line of the port, "" when it has none.
std::string ListLine(const std::string& list, const std::string& port) {
    size_t start = 0;
    while (start < list.size()) {
        const size_t end = std::min(list.find('\n', start), list.size());
        const std::string line = list.substr(start, end - start);
        if (line.rfind(port + " ", 0) == 0) {
            return line;
        }
        start = end + 1;
    }
    return "";
}

std::vector<std::string> Queues() {
    std::vector<plat::PrinterDevice> printers;
    EXPECT_TRUE(plat::EnumPrinters(printers));
    std::vector<std::string> names;
    for (const plat::PrinterDevice& printer : printers) {
        names.push_back(printer.name);
    }
    return names;
}

bool HasQueue(const std::string& name) {
    const std::vector<std::string> names = Queues();
    return std::find(names.begin(), names.end(), name) != names.end();
}

class PortCommandTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        bed_ = new CardBed(kCards, kProtocolIp);
        CardBed::StoreQuickSettings();
        cupsd_ = new PrivateCupsd;
        std::string error;
        ASSERT_TRUE(cupsd_->Start(VORLANE_BACKEND, error)) << error;
    }
    static void TearDownTestSuite() {
        delete cupsd_;
        delete bed_;
    }

    void SetUp() override {
        for (size_t card = 0; card < kCards; ++card) {
            bed_->StoreCard(card, kProtocolIp);
        }
    }
    void TearDown() override {
        for (const std::string& queue : Queues()) {
            plat::DeletePrinter(queue);
        }
        for (const std::string& port : ports_) {
            DeletePortEntry(port);
        }
    }

    // A port on the card, as Add Port leaves it, and the queues that print to it.
    void AddPort(const std::string& port, size_t card, const std::vector<std::string>& queues) {
        const std::optional<ServerRecord> record = ReadServerRecord(bed_->Mac(card));
        ASSERT_TRUE(record);
        ASSERT_TRUE(SavePortEntry(*record, port, false));
        ports_.push_back(port);
        for (const std::string& queue : queues) {
            ASSERT_TRUE(cupsd_->AddQueue(queue, port)) << queue;
        }
    }

    static CardBed* bed_;
    static PrivateCupsd* cupsd_;
    std::vector<std::string> ports_;
};

CardBed* PortCommandTest::bed_ = nullptr;
PrivateCupsd* PortCommandTest::cupsd_ = nullptr;

TEST_F(PortCommandTest, DeleteTakesThePortItsQueuesAndItsUseOfThePrintServer) {
    AddPort("Hall", 0, {"Hall", "Hall-draft"});
    AddPort("Cellar", 1, {"Cellar"});
    ASSERT_EQ(bed_->Category(0), 6u);

    const Outcome list = PortCommand("list");
    ASSERT_EQ(list.code, 0) << list.output;
    const std::string hall = ListLine(list.output, "Hall");
    EXPECT_NE(hall.find("Card-1 (" + bed_->Mac(0) + ")"), std::string::npos) << list.output;
    EXPECT_NE(hall.find("Hall, Hall-draft"), std::string::npos) << list.output;
    EXPECT_NE(ListLine(list.output, "Cellar").find("Cellar"), std::string::npos) << list.output;

    const Outcome deleted = PortCommand("delete hall");
    ASSERT_EQ(deleted.code, 0) << deleted.output;
    EXPECT_NE(deleted.output.find("Hall, Hall-draft"), std::string::npos) << deleted.output;
    EXPECT_FALSE(HasQueue("Hall"));
    EXPECT_FALSE(HasQueue("Hall-draft"));
    EXPECT_FALSE(PortAdapter("Hall"));
    // Detection may offer the print server again for new ports.
    EXPECT_EQ(bed_->Category(0), 2u);
    // The other port and its queue are untouched.
    EXPECT_TRUE(HasQueue("Cellar"));
    EXPECT_EQ(bed_->Category(1), 6u);
    EXPECT_EQ(ListLine(PortCommand("list").output, "Hall"), "");
}

TEST_F(PortCommandTest, MistakesAreRefusedWithTheirOwnExitCodes) {
    AddPort("Hall", 0, {"Hall"});
    struct Case {
        const char* arguments;
        const char* env;
        int code;
        const char* says;
    };
    const Case cases[] = {
        {"", "", 2, "usage:"},
        {"frobnicate", "", 2, "usage:"},
        {"delete", "", 2, "usage:"},
        {"configure Hall Cellar", "", 2, "usage:"},
        {"list extra", "", 2, "usage:"},
        {"delete Nowhere", "", 3, "there is no port Nowhere"},
        {"configure Nowhere", "QT_QPA_PLATFORM=offscreen", 3, "there is no port Nowhere"},
        {"configure Hall", "-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM", 1, "no display"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = PortCommand(c.arguments, c.env);
        EXPECT_EQ(outcome.code, c.code) << c.arguments << ": " << outcome.output;
        EXPECT_NE(outcome.output.find(c.says), std::string::npos) << c.arguments << ": " << outcome.output;
    }
    EXPECT_EQ(PortCommand("--help").code, 0);
    // Nothing of it touched the port.
    EXPECT_EQ(PortAdapter("Hall"), bed_->Mac(0));
    EXPECT_TRUE(HasQueue("Hall"));
    EXPECT_EQ(bed_->Category(0), 6u);
}

// configure's port dialog, and the Add New Printer dialog it opens, open their pages in the help
// window with Help and with F1. A hand preloaded into the program tries each, then cancels both.
TEST_F(PortCommandTest, ConfigureDialogsOpenTheirHelpPages) {
    AddPort("Helped", 0, {"Helped"});
    // The port dialog's detection lists the cards that answer it.
    sim::Simulator agents;
    for (size_t card = 0; card < kCards; ++card) {
        agents.AddCard(bed_->Card(card));
    }
    std::string error;
    ASSERT_TRUE(agents.Start(error)) << error;
    // The hand comes before the sanitizers' runtime in the program's libraries.
    const char* sanitizers = std::getenv("ASAN_OPTIONS");
    const Outcome outcome =
        PortCommand("configure Helped",
                    std::string("QT_QPA_PLATFORM=offscreen LD_PRELOAD=") + HELP_TOUR_PRELOAD +
                        " ASAN_OPTIONS=" + (sanitizers != nullptr ? std::string(sanitizers) + ":" : "") +
                        "verify_asan_link_order=0");
    EXPECT_EQ(outcome.code, 5) << outcome.output;
    for (const char* met :
         {"PortDialog Help: PortDialog.html", "PortDialog F1: PortDialog.html",
          "AddPrinterDialog Help: AddPrinterDialog.html", "AddPrinterDialog F1: AddPrinterDialog.html"}) {
        EXPECT_NE(outcome.output.find(std::string("tour: ") + met + "\n"), std::string::npos)
            << met << " in:\n"
            << outcome.output;
    }
    EXPECT_EQ(PortAdapter("Helped"), bed_->Mac(0)) << "cancelled, the port stays where it was";
}

TEST_F(PortCommandTest, APortWhoseQueueHoldsAJobStaysUntilTheJobIsGone) {
    AddPort("Busy", 1, {"Busy"});
    {
        const HeldJob job(*bed_, *cupsd_, 1, "Busy");
        ASSERT_TRUE(job.Printing());
        const Outcome deleted = PortCommand("delete Busy");
        EXPECT_EQ(deleted.code, 4) << deleted.output;
        EXPECT_NE(deleted.output.find("1 job(s) printing"), std::string::npos) << deleted.output;
        // Configure is refused before its dialog opens: the job keeps its print server.
        const Outcome configured = PortCommand("configure Busy");
        EXPECT_EQ(configured.code, 4) << configured.output;
        EXPECT_EQ(PortAdapter("Busy"), bed_->Mac(1));
        EXPECT_TRUE(HasQueue("Busy"));
        EXPECT_EQ(bed_->Category(1), 6u);
        EXPECT_EQ(cupsd_->JobState(job.Id()), IPP_JSTATE_PROCESSING);
    }

    // A job that waits would go with the queue: refused as well.
    ASSERT_EQ(std::system("cupsdisable Busy"), 0);
    const int waiting = cupsd_->Print("Busy", JobBytes(100));
    ASSERT_GT(waiting, 0);
    const Outcome refused = PortCommand("delete Busy");
    EXPECT_EQ(refused.code, 4) << refused.output;
    EXPECT_NE(refused.output.find("1 waiting"), std::string::npos) << refused.output;
    EXPECT_EQ(cupsd_->JobState(waiting), IPP_JSTATE_PENDING);

    ASSERT_TRUE(cupsd_->Cancel(waiting));
    ASSERT_EQ(cupsd_->WaitForEnd(waiting, std::chrono::seconds(30)), IPP_JSTATE_CANCELED);
    const Outcome deleted = PortCommand("delete Busy");
    EXPECT_EQ(deleted.code, 0) << deleted.output;
    EXPECT_FALSE(HasQueue("Busy"));
    EXPECT_EQ(bed_->Category(1), 2u);
}

TEST_F(PortCommandTest, AQueueRemovedWithLpadminLeavesAPortThatPruneDeletes) {
    AddPort("Gone", 0, {"Gone"});
    AddPort("Kept", 1, {"Kept"});
    ASSERT_EQ(std::system("lpadmin -x Gone"), 0);
    // The spooler alone cannot tell the monitor: the port and its use of the print server stay.
    EXPECT_EQ(bed_->Category(0), 6u);
    const Outcome list = PortCommand("list");
    EXPECT_NE(ListLine(list.output, "Gone").find("none"), std::string::npos) << list.output;

    const Outcome pruned = PortCommand("prune");
    ASSERT_EQ(pruned.code, 0) << pruned.output;
    EXPECT_NE(pruned.output.find("deleted port Gone"), std::string::npos) << pruned.output;
    EXPECT_EQ(pruned.output.find("Kept"), std::string::npos) << pruned.output;
    EXPECT_FALSE(PortAdapter("Gone"));
    EXPECT_EQ(bed_->Category(0), 2u);
    EXPECT_EQ(PortAdapter("Kept"), bed_->Mac(1));
    EXPECT_TRUE(HasQueue("Kept"));
    EXPECT_EQ(bed_->Category(1), 6u);

    const Outcome again = PortCommand("prune");
    EXPECT_EQ(again.code, 0);
    EXPECT_NE(again.output.find("every port has a queue"), std::string::npos) << again.output;

    // The spooler's last queue gone as well: a spooler without queues is no failure.
    ASSERT_EQ(std::system("lpadmin -x Kept"), 0);
    const Outcome last = PortCommand("prune");
    EXPECT_EQ(last.code, 0) << last.output;
    EXPECT_FALSE(PortAdapter("Kept"));
    EXPECT_EQ(bed_->Category(1), 2u);

    // No port at all is no port with a queue.
    const Outcome none = PortCommand("prune");
    EXPECT_EQ(none.code, 0);
    EXPECT_EQ(none.output, "there are no ports\n");
}

// The list's columns line up on a terminal whatever the names: a letter beyond ASCII takes one
// column however many bytes it has, and a CJK character two.
TEST_F(PortCommandTest, ListLinesUpColumnsAsTheTerminalShowsThem) {
    struct Case {
        std::string port;
        size_t columns;  // on the screen
    };
    const Case cases[] = {{"Hall", 4}, {"\u00dcn\u00ef-\u00df", 5}, {"\u6f22\u5b57", 4}};
    for (const Case& c : cases) {
        AddPort(c.port, 0, {});
    }
    const Outcome list = PortCommand("list");
    ASSERT_EQ(list.code, 0) << list.output;
    ASSERT_EQ(list.output.rfind("PORT   PRINT SERVER", 0), 0u) << list.output;
    for (const Case& c : cases) {
        EXPECT_EQ(
            ListLine(list.output, c.port).rfind(c.port + std::string(7 - c.columns, ' ') + "Card-1 (", 0), 0u)
            << list.output;
    }
}

// A port stored with a line end in its name (before Add Port refused such names) is listed on a
// line of its own, the line end shown as its code, and can be deleted by its name.
TEST_F(PortCommandTest, APortNamedWithALineEndIsListedOnOneLineAndDeleted) {
    const std::string port = "a\nSTATE: x";
    AddPort(port, 0, {"Hostile"});
    AddPort("Hall", 1, {"Hall"});
    const Outcome list = PortCommand("list");
    ASSERT_EQ(list.code, 0) << list.output;
    const std::string line = ListLine(list.output, "a\\x0ASTATE: x");
    EXPECT_NE(line.find("Card-1 ("), std::string::npos) << list.output;
    EXPECT_NE(line.find("Hostile"), std::string::npos) << list.output;
    EXPECT_EQ(std::count(list.output.begin(), list.output.end(), '\n'), 3) << list.output;

    const Outcome deleted = PortCommand("delete '" + port + "'");
    EXPECT_EQ(deleted.code, 0) << deleted.output;
    EXPECT_EQ(deleted.output, "deleted port a\\x0ASTATE: x and the queue(s) that printed to it: Hostile\n");
    EXPECT_FALSE(PortAdapter(port));
    EXPECT_FALSE(HasQueue("Hostile"));
    EXPECT_TRUE(HasQueue("Hall"));
    EXPECT_EQ(bed_->Category(0), 2u);
}

}  // namespace
}  // namespace portmon::test
