#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

// A job's level 2 record. CUPS gives the size in whole kilobytes and no page count before printing:
// those fields hold what CUPS gives, never a guess.
struct JobInfo2 {
    std::uint32_t jobId = 0;
    std::string document;
    std::string userName;
    std::uint32_t status = 0;
    std::uint32_t priority = 0;
    std::uint32_t sizeKb = 0;
    std::uint32_t totalPages = 0;  // 0: not known
    std::time_t submitted = 0;     // UTC
};

// A printer's document defaults (its level 2 settings): CUPS option values, empty or 0 when unset.
struct DocumentSettings {
    std::string media;              // "iso_a4_210x297mm" ...
    std::string sides;              // "one-sided", "two-sided-long-edge", "two-sided-short-edge"
    std::uint32_t orientation = 0;  // 3 portrait, 4 landscape, 5 reverse landscape, 6 reverse portrait
    std::uint32_t copies = 0;
};

// A queue and the device it prints to.
struct PrinterDevice {
    std::string name;
    std::string deviceUri;
};

// Opens a printer by its queue name; false when the spooler does not know it.
bool OpenPrinter(const char* name, PrinterHandle* handle);
bool ClosePrinter(PrinterHandle handle);
struct PrinterCloser {
    void operator()(PrinterHandle handle) const { ClosePrinter(handle); }
};
using OpenedPrinter = std::unique_ptr<SpoolerPrinter, PrinterCloser>;
// The printer, closed when it goes; null when the spooler does not know it.
OpenedPrinter OpenPrinter(const std::string& name);

// False when the job cannot be read.
bool GetJob(PrinterHandle handle, std::uint32_t jobId, JobInfo1& info);
bool SetJob(PrinterHandle handle, std::uint32_t jobId, std::uint32_t command);

// The jobs of the printer that are not yet done, in queue order; false when they cannot be read.
bool EnumJobs(PrinterHandle handle, std::vector<JobInfo2>& jobs);

// Every queue of the spooler with its device URI; false when the spooler cannot be asked.
bool EnumPrinters(std::vector<PrinterDevice>& printers);
// Makes (or changes) a raw queue that prints to the device, enabled and accepting jobs.
bool AddPrinter(const std::string& name, const std::string& deviceUri);
// Removes the queue with its jobs; false when the spooler refused or does not know it.
bool DeletePrinter(const std::string& name);
// The spooler's own words for why the calling thread's last request failed ("" when it gave none).
std::string LastSpoolerError();

bool GetPrinterSettings(PrinterHandle handle, DocumentSettings& settings);
// Stores the set fields as the queue's defaults.
bool SetPrinterSettings(PrinterHandle handle, const DocumentSettings& settings);

// The document properties dialog of a printer, which the program that owns the windows supplies:
// it shows the settings, owned by the window, and changes them; false when the person cancelled.
using DocumentPropertiesDialog =
    std::function<bool(std::uint32_t owner, const std::string& printer, DocumentSettings& settings)>;
void SetDocumentPropertiesDialog(DocumentPropertiesDialog dialog);
// Runs that dialog; false when there is none or the person cancelled.
bool DocumentProperties(std::uint32_t owner, PrinterHandle handle, DocumentSettings& settings);

// Asks the port monitor of that name to add a port, as the spooler does: it loads the monitor library
// and runs its AddPort, whose dialog is owned by the window. False when the monitor is unknown, cannot
// be loaded, or did not add a port (the user cancelled); the monitor's last error stays.
bool AddPort(const char* server, std::uint32_t window, const char* monitorName);

// Tells this process's spooler calls that the spooler is deleting the job (CUPS ends a job's
// backend with SIGTERM): from then on its status carries kJobStatusDeleting. Safe in a signal
// handler.
void NoteJobDeleting(std::uint32_t jobId);

// A process that plays the spooler for one job (the backend cupsd starts for a job) tells this
// process's spooler calls what cupsd handed it: the queue, the job's id, its user, title and
// originating host. OpenPrinter of that queue and GetJob of that job then answer from it without
// asking cupsd, whose default policy keeps a job's names from the backend's user; the job's status
// is kJobStatusPrinting, with kJobStatusDeleting once NoteJobDeleting named it.
void HostJob(const JobInfo1& job);

}  // namespace plat
