#pragma once

#include <cstdint>
#include <string>

// The spooler calls of the suite, played by CUPS through its IPP client library against the cupsd
// that CUPS_SERVER names (the usual one when unset). A printer is a CUPS queue.
namespace plat {

struct SpoolerPrinter;
using PrinterHandle = SpoolerPrinter*;

// Status bits of a job.
enum : std::uint32_t {
    kJobStatusPaused = 0x1,
    kJobStatusError = 0x2,
    kJobStatusDeleting = 0x4,
    kJobStatusPrinting = 0x10,
    kJobStatusDeleted = 0x100,
    kJobStatusComplete = 0x1000,
};

// Commands of SetJob.
enum : std::uint32_t {
    kJobControlPause = 1,
    kJobControlResume = 2,
    kJobControlCancel = 3,
    kJobControlRestart = 4,
};

// A job's level 1 record.
struct JobInfo1 {
    std::uint32_t jobId = 0;
    std::string printerName;
    std::string machineName;
    std::string userName;
    std::string document;
    std::uint32_t status = 0;
};

// Opens a printer by its queue name; false when the spooler does not know it.
bool OpenPrinter(const char* name, PrinterHandle* handle);
bool ClosePrinter(PrinterHandle handle);
// False when the job cannot be read.
bool GetJob(PrinterHandle handle, std::uint32_t jobId, JobInfo1& info);
bool SetJob(PrinterHandle handle, std::uint32_t jobId, std::uint32_t command);

// Asks the port monitor of that name to add a port, as the spooler does: it loads the monitor library
// and runs its AddPort, whose dialog is owned by the window. False when the monitor is unknown, cannot
// be loaded, or did not add a port (the user cancelled); the monitor's last error stays.
bool AddPort(const char* server, std::uint32_t window, const char* monitorName);

// Tells this process's spooler calls that the spooler is deleting the job (CUPS ends a job's
// backend with SIGTERM): from then on its status carries kJobStatusDeleting. Safe in a signal
// handler.
void NoteJobDeleting(std::uint32_t jobId);

}  // namespace plat
