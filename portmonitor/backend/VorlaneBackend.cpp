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
#include "portmonitor/Dalvor.h"
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

// The monitor's lines as CUPS reads a backend's standard error: each line with its level.
void Report(int kind, const char* text) {
    std::string_view rest(text);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        if (!line.empty()) {
            std::fprintf(stderr, "%s: %.*s\n", kind == 1 ? "ERROR" : "DEBUG", static_cast<int>(line.size()),
                         line.data());
        }
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
}

// A text as a quoted field of the listing: a quote or a backslash in it goes behind a backslash.
std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

int ListPorts(const plat::MonitorTable& table) {
    for (const std::string& port : plat::MonitorPortNames(table)) {
        std::printf("network %s %s %s\n", plat::PortDeviceUri(port).c_str(),
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
        std::fprintf(stderr, "ERROR: The port monitor cannot start.\n");
        return kBackendFailed;
    }
    if (argc == 1) {
        return ListPorts(table);
    }
    if (argc < 6 || argc > 7) {
        std::fprintf(stderr, "Usage: %s job-id user title copies options [file]\n", argv[0]);
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
        std::fprintf(stderr, "ERROR: The job file cannot be read.\n");
        return kBackendFailed;
    }
    const char* uri = std::getenv("DEVICE_URI");
    const std::optional<std::string> port = plat::PortOfDeviceUri(uri != nullptr ? uri : "");
    if (!port) {
        std::fprintf(stderr, "ERROR: The device URI is not vorlane:/PORT.\n");
        return kBackendFailed;
    }
    job.port = *port;
    return PrintJob(table, job, input);
}
