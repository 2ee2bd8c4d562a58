#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "confighelper/Halbrin.h"
#include "confighelper/JobListFormat.h"
#include "confighelper/RegistryValue.h"
#include "platform/services/ExportGuard.h"
#include "platform/spooler/Spooler.h"
#include "platform/store/StorePaths.h"

namespace {

constexpr std::uint32_t kPathRoom = 256;

bool HasJob(const std::vector<plat::JobInfo2>& jobs, std::uint32_t jobId) {
    return std::any_of(jobs.begin(), jobs.end(),
                       [&](const plat::JobInfo2& job) { return job.jobId == jobId; });
}

// Steers a job of this printer (a job of another printer is not found); then lists the printer's jobs.
HelperResult SteerAndList(plat::PrinterHandle printer, std::int32_t command, std::uint32_t jobId,
                          std::vector<plat::JobInfo2>& jobs) {
    if (!plat::EnumJobs(printer, jobs)) {
        return kHelperJobListFailed;
    }
    if (command == 0) {
        return kHelperOk;
    }
    if (!HasJob(jobs, jobId)) {
        return kHelperJobListFailed;
    }
    if (!plat::SetJob(printer, jobId, static_cast<std::uint32_t>(command))) {
        return kHelperJobCommandRefused;
    }
    return plat::EnumJobs(printer, jobs) ? kHelperOk : kHelperJobListFailed;
}

bool WriteJobList(const char* path, const std::vector<plat::JobInfo2>& jobs) {
    const std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "w"), &std::fclose);
    if (!file) {
        return false;
    }
    for (const plat::JobInfo2& job : jobs) {
        const std::string line =
            joblist::FormatJobLine({job.jobId, job.status, job.document, job.submitted, job.sizeKb,
                                    job.userName, job.totalPages, job.priority});
        if (std::fputs(line.c_str(), file.get()) == EOF) {
            return false;
        }
    }
    return std::fflush(file.get()) == 0;
}

HelperResult RefreshJobQueue(const char* printerName, std::int32_t command, std::uint32_t jobId, char* path,
                             std::uint32_t* size) {
    const plat::OpenedPrinter printer = plat::OpenPrinter(printerName);
    if (!printer) {
        return kHelperJobListFailed;
    }
    std::vector<plat::JobInfo2> jobs;
    const HelperResult steered = SteerAndList(printer.get(), command, jobId, jobs);
    if (steered != kHelperOk) {
        return steered;
    }
    if (jobs.empty()) {
        return kHelperNoJobs;
    }
    char jobFile[kPathRoom];
    std::uint32_t stored = sizeof jobFile;
    if (ReadRegistryValue(plat::kStoreLocalMachine, plat::kPrintJobsKey, "JobFile", jobFile, &stored) !=
            kHelperOk ||
        stored == 0 || jobFile[stored - 1] != '\0' || stored > *size || !WriteJobList(jobFile, jobs)) {
        return kHelperJobListFailed;
    }
    std::memcpy(path, jobFile, stored);
    *size = stored;
    return kHelperOk;
}

}  // namespace

HALBRIN_EXPORT HelperResult HelperRefreshJobQueue32(const char* printerName, std::int32_t command,
                                                    std::uint32_t jobId, char* path, std::uint32_t* size) {
    if (printerName == nullptr || path == nullptr || size == nullptr) {
        return kHelperJobListFailed;
    }
    return plat::GuardExport(kHelperJobListFailed, kHelperNoMemory,
                             [&] { return RefreshJobQueue(printerName, command, jobId, path, size); });
}
