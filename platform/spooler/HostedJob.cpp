#include "platform/spooler/HostedJob.h"

#include <mutex>

namespace plat {

namespace {

struct Hosted {
    std::mutex mutex;
    std::optional<JobInfo1> job;
};

Hosted& TheHosted() {
    static Hosted hosted;
    return hosted;
}

}  // namespace

void HostJob(const JobInfo1& job) {
    Hosted& hosted = TheHosted();
    std::lock_guard lock(hosted.mutex);
    hosted.job = job;
    hosted.job->status = kJobStatusPrinting;
}

bool HostsPrinter(const std::string& printer) {
    Hosted& hosted = TheHosted();
    std::lock_guard lock(hosted.mutex);
    return hosted.job && hosted.job->printerName == printer;
}

std::optional<JobInfo1> HostedJob(const std::string& printer, std::uint32_t jobId) {
    Hosted& hosted = TheHosted();
    std::lock_guard lock(hosted.mutex);
    if (hosted.job && hosted.job->printerName == printer && hosted.job->jobId == jobId) {
        return hosted.job;
    }
    return std::nullopt;
}

}  // namespace plat
