// vorlane-port: the administrator's command for the port monitor's ports. It lists them with their
// print servers and queues, moves a port to another print server (the monitor's configure dialog)
// and deletes ports together with the queues that print to them, through the spooler's calls.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/spooler/LastError.h"
#include "platform/spooler/MonitorPorts.h"
#include "platform/spooler/PortUse.h"
#include "platform/text/ControlCharacters.h"
#include "portmonitor/OutputLine.h"
#include "portmonitor/ServerRecord.h"
#include "portmonitor/portcommand/DisplayWidth.h"

namespace {

enum ExitCode { kDone = 0, kFailed = 1, kUsage = 2, kNoSuchPort = 3, kPortInUse = 4, kCancelled = 5 };

constexpr const char* kUsageText =
    "usage: vorlane-port list\n"
    "       vorlane-port configure PORT\n"
    "       vorlane-port delete PORT...\n"
    "       vorlane-port prune\n"
    "\n"
    "list       the ports, the print server each prints to and the queues that print to it\n"
    "configure  moves the port to another print server in the port dialog (needs a display);\n"
    "           the port keeps its name, so its queues print to the new print server\n"
    "delete     deletes each port and the queues that print to it\n"
    "prune      deletes the ports that no queue prints to (after lpadmin -x, say)\n"
    "\n"
    "A port is not configured while a job prints on it, nor deleted while its queues hold a job.\n"
    "exit codes: 0 done, 1 failed, 2 usage, 3 no such port, 4 the port is in use,\n"
    "            5 the dialog was cancelled\n";

int Usage() {
    std::fputs(kUsageText, stderr);
    return kUsage;
}

std::string Join(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

// The print server's name from its device store entry; "" when it has none.
std::string ServerName(const std::string& adapter) {
    const std::optional<ServerRecord> record = ReadServerRecord(adapter);
    return record ? record->name.value_or("") : "";
}

// The failure of a spooler call on the port, said plainly; its exit code.
int Failure(const std::string& port) {
    const std::uint32_t error = plat::GetLastError();
    plat::PortUse use;
    switch (error) {
        case plat::kErrorUnknownPort:
            WriteLine(stderr, "vorlane-port: there is no port %s (vorlane-port list shows them)",
                      port.c_str());
            return kNoSuchPort;
        case plat::kErrorBusy:
            if (plat::GetPortUse(port, use)) {
                WriteLine(stderr,
                          "vorlane-port: port %s is in use: %zu job(s) printing and %zu waiting on %s; "
                          "let them finish or cancel them (cancel -a QUEUE), then try again",
                          port.c_str(), use.printing, use.waiting, Join(use.printers).c_str());
            } else {
                WriteLine(stderr, "vorlane-port: port %s is printing; try again when its job is done",
                          port.c_str());
            }
            return kPortInUse;
        case plat::kErrorCancelled:
            WriteLine(stderr, "vorlane-port: cancelled; port %s is unchanged", port.c_str());
            return kCancelled;
        case plat::kErrorMonitorUnavailable:
            WriteLine(stderr, "vorlane-port: the port monitor library cannot be loaded");
            return kFailed;
        case plat::kErrorSpoolerUnavailable:
            WriteLine(stderr, "vorlane-port: the print spooler cannot be reached (is cupsd running?)");
            return kFailed;
        default:
            WriteLine(stderr, "vorlane-port: port %s could not be changed (error %u)", port.c_str(), error);
            return kFailed;
    }
}

bool ReadPorts(std::vector<plat::MonitorPort>& ports) {
    if (plat::EnumMonitorPorts(ports)) {
        return true;
    }
    Failure("");
    return false;
}

int List() {
    std::vector<plat::MonitorPort> ports;
    if (!ReadPorts(ports)) {
        return kFailed;
    }
    // The texts as they show: a control character in a name as its code.
    std::vector<std::array<std::string, 3>> rows = {{"PORT", "PRINT SERVER", "QUEUES"}};
    for (const plat::MonitorPort& port : ports) {
        const std::string name = ServerName(port.adapter);
        rows.push_back({plat::VisibleControls(port.name),
                        plat::VisibleControls(name.empty() ? port.adapter : name + " (" + port.adapter + ")"),
                        plat::VisibleControls(port.printers.empty() ? "none" : Join(port.printers))});
    }
    std::size_t widths[2] = {0, 0};
    for (const auto& row : rows) {
        for (std::size_t column = 0; column < 2; ++column) {
            widths[column] = std::max(widths[column], DisplayWidth(row[column]));
        }
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t column = 0; column < 2; ++column) {
            line += row[column] + std::string(widths[column] - DisplayWidth(row[column]) + 2, ' ');
        }
        WriteLine(stdout, "%s", (line + row[2]).c_str());
    }
    return kDone;
}

int Delete(const std::string& port) {
    plat::PortUse use;
    const bool known = plat::GetPortUse(port, use);
    if (!plat::DeletePort(nullptr, 0, port.c_str())) {
        return Failure(port);
    }
    if (known && !use.printers.empty()) {
        WriteLine(stdout, "deleted port %s and the queue(s) that printed to it: %s", port.c_str(),
                  Join(use.printers).c_str());
    } else {
        WriteLine(stdout, "deleted port %s", port.c_str());
    }
    return kDone;
}

int DeleteEach(const std::vector<std::string>& names) {
    int result = kDone;
    for (const std::string& name : names) {
        const int deleted = Delete(name);
        result = result == kDone ? deleted : result;
    }
    return result;
}

int Prune() {
    std::vector<plat::MonitorPort> ports;
    if (!ReadPorts(ports)) {
        return kFailed;
    }
    std::vector<std::string> unused;
    for (const plat::MonitorPort& port : ports) {
        if (port.printers.empty()) {
            unused.push_back(port.name);
        }
    }
    if (ports.empty()) {
        WriteLine(stdout, "there are no ports");
    } else if (unused.empty()) {
        WriteLine(stdout, "every port has a queue");
    }
    return DeleteEach(unused);
}

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

int Configure(const std::string& port) {
    if (!HasDisplay()) {
        WriteLine(stderr, "vorlane-port: configure opens the port dialog, and there is no display");
        return kFailed;
    }
    if (!plat::ConfigurePort(nullptr, 0, port.c_str())) {
        return Failure(port);
    }
    WriteLine(stdout, "configured port %s", port.c_str());
    return kDone;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        return Usage();
    }
    const std::string& command = args.front();
    const std::vector<std::string> operands(args.begin() + 1, args.end());
    if (command == "-h" || command == "--help") {
        std::fputs(kUsageText, stdout);
        return kDone;
    }
    if (command == "list" && operands.empty()) {
        return List();
    }
    if (command == "prune" && operands.empty()) {
        return Prune();
    }
    if (command == "configure" && operands.size() == 1) {
        return Configure(operands.front());
    }
    if (command == "delete" && !operands.empty()) {
        return DeleteEach(operands);
    }
    return Usage();
}
