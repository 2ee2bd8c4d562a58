#include "portmonitor/tests/PrivateCupsd.h"

#include <cups/cups.h>

#include "platform/spooler/DeviceUri.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace portmon::test {

std::string RunCommand(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    return pclose(pipe) == 0 ? output : "failed: " + output;
}

bool PrivateCupsd::AddQueue(const std::string& queue, const std::string& port) {
    return RunCommand("lpadmin -p '" + queue + "' -E -v '" + plat::PortDeviceUri(port) +
                      "' -m raw -o printer-error-policy=abort-job")
               .rfind("failed", 0) != 0;
}

std::string PrivateCupsd::WriteFile(const std::vector<uint8_t>& bytes) {
    const std::string path = Folder() + "/jobs/job" + std::to_string(++files_);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

int PrivateCupsd::Print(const std::string& queue, const std::vector<uint8_t>& bytes,
                        const std::string& arguments) {
    const std::string output = RunCommand("lp -d '" + queue + "' " + arguments + " " + WriteFile(bytes));
    // "request id is QUEUE-N (1 file(s))"
    const std::string marker = "request id is " + queue + "-";
    const std::size_t at = output.find(marker);
    return at == std::string::npos ? 0 : std::atoi(output.c_str() + at + marker.size());
}

bool PrivateCupsd::Cancel(int job) {
    return RunCommand("cancel " + std::to_string(job)).rfind("failed", 0) != 0;
}

bool PrivateCupsd::Release(int job) {
    return RunCommand("lp -i " + std::to_string(job) + " -H resume").rfind("failed", 0) != 0;
}

std::string PrivateCupsd::SpoolFile(int job) const {
    char name[32];
    std::snprintf(name, sizeof name, "/spool/d%05d-001", job);
    return Folder() + name;
}

int PrivateCupsd::JobState(int job) {
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    int state = 0;
    for (int i = 0; i < count; ++i) {
        if (jobs[i].id == job) {
            state = jobs[i].state;
        }
    }
    cupsFreeJobs(count, jobs);
    return state;
}

int PrivateCupsd::WaitForEnd(int job, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int state = JobState(job);
    while (state < IPP_JSTATE_CANCELED && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        state = JobState(job);
    }
    return state;
}

std::vector<std::string> PrivateCupsd::JobLog(int job) const {
    std::ifstream log(Folder() + "/log/error_log");
    const std::string marker = "[Job " + std::to_string(job) + "] ";
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) {
        const std::size_t at = line.find(marker);
        if (at != std::string::npos) {
            lines.push_back(line.substr(0, 1) + " " + line.substr(at + marker.size()));
        }
    }
    return lines;
}

bool PrivateCupsd::WaitForBackend(int job, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        for (const std::string& line : JobLog(job)) {
            if (line.find("Backend returned status") != std::string::npos ||
                line.find("crashed on signal") != std::string::npos) {
                return true;
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool PrivateCupsd::BackendCrashed(int job) const {
    for (const std::string& line : JobLog(job)) {
        for (const char* sign : {"crashed on signal", "runtime error:", "Sanitizer"}) {
            if (line.find(sign) != std::string::npos) {
                return true;
            }
        }
    }
    return false;
}

int64_t PrivateCupsd::LoggedChecksum(int job) const {
    int64_t checksum = -1;
    for (const std::string& line : JobLog(job)) {
        if (line.rfind("D Checksum=", 0) == 0) {
            checksum = std::strtoll(line.c_str() + 11, nullptr, 16);
        }
    }
    return checksum;
}

}  // namespace portmon::test
