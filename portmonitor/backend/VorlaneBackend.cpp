// vorlane: the CUPS backend that carries each job of a queue whose device URI is "vorlane:/PORT"
// through the port monitor's entry points, as a spooler would. Without arguments it lists the
// monitor's ports.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/spooler/Spooler.h"
#include "portmonitor/Dalvor.h"

namespace {

// CUPS's exit codes of a backend.
enum BackendStatus { kBackendOk = 0, kBackendFailed = 1, kBackendRetry = 6 };

constexpr std::string_view kScheme = "vorlane:";
constexpr std::size_t kChunk = 262144;

volatile std::sig_atomic_t cancelled = 0;
std::uint32_t currentJob = 0;

void OnTerminate(int) {
    cancelled = 1;
    plat::NoteJobDeleting(currentJob);
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

// "vorlane:/PORT" gives PORT.
std::string PortOfUri(const char* uri) {
    std::string_view text = uri != nullptr ? uri : "";
    if (text.substr(0, kScheme.size()) != kScheme) {
        return "";
    }
    text.remove_prefix(kScheme.size());
    while (!text.empty() && text.front() == '/') {
        text.remove_prefix(1);
    }
    return std::string(text);
}

int ListPorts(const plat::MonitorTable& table) {
    std::uint32_t needed = 0;
    std::uint32_t count = 0;
    table.EnumPorts(nullptr, 1, nullptr, 0, &needed, &count);
    std::vector<std::uint8_t> buffer(needed);
    if (needed == 0 || !table.EnumPorts(nullptr, 1, buffer.data(), needed, &needed, &count)) {
        return kBackendOk;
    }
    const auto* ports = reinterpret_cast<const plat::PortInfo1*>(buffer.data());
    for (std::uint32_t i = 0; i < count; ++i) {
        std::printf("network vorlane:/%s \"Vorlane Network Printer Port\" \"%s\"\n", ports[i].name,
                    ports[i].name);
    }
    return kBackendOk;
}

// Hands the whole input to WritePort, each piece until every byte is taken. False on a failure.
bool WriteJob(const plat::MonitorTable& table, plat::PortHandle port, int input) {
    std::vector<std::uint8_t> buffer(kChunk);
    while (!cancelled) {
        const ssize_t got = read(input, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0;
        }
        std::size_t offset = 0;
        while (offset < static_cast<std::size_t>(got)) {
            std::uint32_t written = 0;
            if (!table.WritePort(port, buffer.data() + offset, static_cast<std::uint32_t>(got - offset),
                                 &written)) {
                return false;
            }
            offset += written;
        }
    }
    return false;
}

int PrintJob(const plat::MonitorTable& table, const std::string& portName, int input) {
    plat::PortHandle port = nullptr;
    if (!table.OpenPort(portName.c_str(), &port)) {
        std::fprintf(stderr, "ERROR: The port \"%s\" cannot be opened.\n", portName.c_str());
        return kBackendFailed;
    }
    const char* printer = std::getenv("PRINTER");
    std::fprintf(stderr, "INFO: Connecting to the print server of %s\n", portName.c_str());
    if (!table.StartDocPort(port, printer != nullptr ? printer : "", currentJob, 1, nullptr)) {
        table.ClosePort(port);
        std::fprintf(stderr, "ERROR: The print server of %s cannot be reached.\n", portName.c_str());
        return cancelled ? kBackendFailed : kBackendRetry;
    }
    std::fprintf(stderr, "INFO: Printing\n");
    const bool written = WriteJob(table, port, input);
    const bool ended = table.EndDocPort(port);
    table.ClosePort(port);
    if (!written || !ended || cancelled) {
        std::fprintf(stderr, "ERROR: The job did not reach the print server whole.\n");
        return kBackendFailed;
    }
    std::fprintf(stderr, "INFO: Done\n");
    return kBackendOk;
}

}  // namespace

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
    currentJob = static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10));
    struct sigaction terminate {};
    terminate.sa_handler = OnTerminate;
    sigaction(SIGTERM, &terminate, nullptr);
    const int input = argc == 7 ? open(argv[6], O_RDONLY | O_CLOEXEC) : STDIN_FILENO;
    if (input < 0) {
        std::fprintf(stderr, "ERROR: The job file cannot be read.\n");
        return kBackendFailed;
    }
    const std::string portName = PortOfUri(std::getenv("DEVICE_URI"));
    if (portName.empty()) {
        std::fprintf(stderr, "ERROR: The device URI is not vorlane:/PORT.\n");
        return kBackendFailed;
    }
    return PrintJob(table, portName, input);
}
