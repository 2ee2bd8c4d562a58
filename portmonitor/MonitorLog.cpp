#include "portmonitor/MonitorLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>

#include "platform/services/MessageBox.h"
#include "portmonitor/MonitorSettings.h"
#include "portmonitor/MonitorStrings.h"

namespace {

struct LogState {
    std::mutex lock;
    bool enabled = false;  // "ErrorLog" is 1
    int fd = -1;           // -1: no file (never 0, which is a real descriptor)
};

LogState& Log() {
    static LogState state;
    return state;
}

std::atomic<HostReporter> hostReporter{nullptr};

void WriteAll(int fd, const char* text, std::size_t length) {
    while (length > 0) {
        const ssize_t written = write(fd, text, length);
        if (written <= 0) {
            return;
        }
        text += written;
        length -= static_cast<std::size_t>(written);
    }
}

// "MM/DD/YY HH:MM:SS " in local time.
std::string Stamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%m/%d/%y %H:%M:%S ", &local);
    return stamp;
}

}  // namespace

void StartLog() {
    const MonitorSettings settings = ReadMonitorSettings();
    LogState& log = Log();
    std::lock_guard guard(log.lock);
    log.enabled = settings.errorLog == 1;
    if (log.enabled && log.fd < 0) {
        log.fd = open(settings.errorLogFile.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    }
}

void EndLog() {
    LogState& log = Log();
    std::lock_guard guard(log.lock);
    if (log.fd >= 0) {
        close(log.fd);
    }
    log.fd = -1;
    log.enabled = false;
}

void LogWrite(const char* text) {
    if (text == nullptr) {
        return;
    }
    if (HostReporter reporter = hostReporter.load()) {
        reporter(0, text);
    }
    LogState& log = Log();
    std::lock_guard guard(log.lock);
    if (log.fd >= 0) {
        WriteAll(log.fd, text, std::strlen(text));
    }
}

void LogPrintf(const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    LogWrite(text);
}

void ReportError(int stringId) {
    const char* message = LoadMonitorString(stringId);
    if (message == nullptr) {
        return;
    }
    const std::string entry = Stamp() + message;
    if (HostReporter reporter = hostReporter.load()) {
        reporter(1, message);
    }
    LogState& log = Log();
    std::unique_lock guard(log.lock);
    if (log.enabled) {
        if (log.fd >= 0) {
            WriteAll(log.fd, entry.data(), entry.size());
        }
    } else if (hostReporter.load() == nullptr) {
        guard.unlock();
        plat::MessageBox(entry, "Error");
    }
}

void SetHostReporter(HostReporter reporter) {
    hostReporter.store(reporter);
}
