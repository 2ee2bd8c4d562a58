// vorlane: the CUPS backend that carries each job of a queue whose device URI is "vorlane:/PORT"
// (the port's name percent-encoded) through the port monitor's entry points, as a spooler would.
// Without arguments it lists the monitor's ports.
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/spooler/DeviceUri.h"
#include "platform/spooler/MonitorPorts.h"
#include "platform/spooler/Spooler.h"
#include "platform/text/ControlCharacters.h"
#include "portmonitor/Dalvor.h"
#include "portmonitor/OutputLine.h"
#include "portmonitor/backend/CupsOptions.h"
#include "portmonitor/backend/PrintJob.h"

namespace {

constexpr std::uint32_t kMostCopies = 9999;  // CUPS's own bound

volatile std::sig_atomic_t cancelled = 0;
std::uint32_t currentJob = 0;

void OnTerminate(int) {
    cancelled = 1;
    plat::NoteJobDeleting(currentJob);
}

bool Cancelled() {
    return cancelled != 0;
}

// The monitor's log lines and errors as CUPS reads a backend's standard error: each text the monitor
// reports as one line with its level. The line ends around a text are the log's own; one within it
// came with a name and shows as its code.
void Report(int kind, const char* text) {
    std::string_view line(text);
    const std::size_t first = line.find_first_not_of("\r\n");
    if (first == std::string_view::npos) {
        return;
    }
    line = line.substr(first, line.find_last_not_of("\r\n") + 1 - first);
    WriteLine(stderr, "%s: %.*s", kind == 1 ? "ERROR" : "DEBUG", static_cast<int>(line.size()), line.data());
}

// A text as a quoted field of the listing: its control characters shown as their codes, then a
// quote or a backslash goes behind a backslash.
std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (char c : plat::VisibleControls(text)) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

int ListPorts(const plat::MonitorTable& table) {
    for (const std::string& port : plat::MonitorPortNames(table)) {
        WriteLine(stdout, "network %s %s %s", plat::PortDeviceUri(port).c_str(),
                  Quoted(plat::kMonitorName).c_str(), Quoted(port).c_str());
    }
    return kBackendOk;
}

std::uint32_t Number(const char* text, std::uint32_t fallback, std::uint32_t highest) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    return end != text && *end == '\0' && value >= 1 && value <= highest ? static_cast<std::uint32_t>(value)
                                                                         : fallback;
}

// The host the job came from, as cupsd gives it among the options; else this machine.
std::string OriginatingHost(const char* options) {
    if (std::optional<std::string> host = CupsOptionValue(options, "job-originating-host-name");
        host && !host->empty()) {
        return *host;
    }
    char name[HOST_NAME_MAX + 1] = {};
    return gethostname(name, sizeof name - 1) == 0 ? name : "";
}

}  // namespace

// cupsd starts the backend as: vorlane JOB-ID USER TITLE COPIES OPTIONS [FILE].
int main(int argc, char** argv) {
    plat::MonitorTable table{};
    SetMonitorReporter(Report);
    if (!InitializeMonitorEx(nullptr, &table)) {
        WriteLine(stderr, "ERROR: The port monitor cannot start.");
        return kBackendFailed;
    }
    if (argc == 1) {
        return ListPorts(table);
    }
    if (argc < 6 || argc > 7) {
        WriteLine(stderr, "Usage: %s job-id user title copies options [file]", argv[0]);
        return kBackendFailed;
    }
    BackendJob job;
    job.id = currentJob = Number(argv[1], 0, UINT32_MAX);
    // From a file the copies are the backend's to make; on the standard input cupsd made them.
    job.copies = argc == 7 ? Number(argv[4], 1, kMostCopies) : 1;
    job.cancelled = Cancelled;
    const char* printer = std::getenv("PRINTER");
    job.printer = printer != nullptr ? printer : "";
    struct sigaction terminate {};
    terminate.sa_handler = OnTerminate;
    sigaction(SIGTERM, &terminate, nullptr);
    plat::HostJob({job.id, job.printer, OriginatingHost(argv[5]), argv[2], argv[3], 0});
    JobInput input;
    if (!input.Open(argc == 7 ? argv[6] : nullptr)) {
        WriteLine(stderr, "ERROR: The job file cannot be read.");
        return kBackendFailed;
    }
    const char* uri = std::getenv("DEVICE_URI");
    const std::optional<std::string> port = plat::PortOfDeviceUri(uri != nullptr ? uri : "");
    if (!port) {
        WriteLine(stderr,
                  "ERROR: The device URI %s names no port (vorlane:/ and the port's name, percent-encoded; "
                  "a port's name holds no NUL).",
                  uri != nullptr ? uri : "");
        return kBackendFailed;
    }
    job.port = *port;
    return PrintJob(table, job, input);
}
