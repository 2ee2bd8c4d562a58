#pragma once

#include <cstdint>
#include <string>

#include "platform/spooler/MonitorInterface.h"
#include "portmonitor/backend/JobInput.h"

// CUPS's exit codes of a backend.
enum BackendStatus { kBackendOk = 0, kBackendFailed = 1, kBackendRetry = 6 };

// The job cupsd started the backend for.
struct BackendJob {
    std::uint32_t id = 0;
    std::string printer;  // the queue
    std::string port;     // of the monitor, from the device URI
    std::uint32_t copies = 1;
    bool (*cancelled)() = nullptr;  // true once cupsd cancelled the job
};

// Carries the job through the monitor's entry points, each copy as a job of its own on the print
// server (the input read again from its start). A copy that did not reach the print server whole
// never gets its end of job: its connection is cut, and the job fails. The backend's exit code.
int PrintJob(const plat::MonitorTable& table, const BackendJob& job, JobInput& input);
