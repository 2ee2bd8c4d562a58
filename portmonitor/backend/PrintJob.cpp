#include "portmonitor/backend/PrintJob.h"

#include <vector>

#include "portmonitor/OutputLine.h"

namespace {

constexpr std::size_t kChunk = 262144;

enum class Written { Whole, ReadFailed, Cancelled, SendFailed };

// Hands the whole input to WritePort, each piece until every byte is taken.
Written WriteJob(const plat::MonitorTable& table, plat::PortHandle port, const BackendJob& job,
                 JobInput& input) {
    std::vector<std::uint8_t> buffer(kChunk);
    while (!job.cancelled()) {
        std::size_t got = 0;
        const JobInput::Status status = input.Read(buffer.data(), buffer.size(), got);
        if (status != JobInput::Status::Data) {
            return status == JobInput::Status::End ? Written::Whole : Written::ReadFailed;
        }
        for (std::size_t offset = 0; offset < got;) {
            std::uint32_t written = 0;
            if (!table.WritePort(port, buffer.data() + offset, static_cast<std::uint32_t>(got - offset),
                                 &written)) {
                return job.cancelled() ? Written::Cancelled : Written::SendFailed;
            }
            offset += written;
        }
    }
    return Written::Cancelled;
}

int PrintCopy(const plat::MonitorTable& table, const BackendJob& job, JobInput& input) {
    plat::PortHandle port = nullptr;
    if (!table.OpenPort(job.port.c_str(), &port)) {
        WriteLine(stderr, "ERROR: The port \"%s\" cannot be opened.", job.port.c_str());
        return kBackendFailed;
    }
    WriteLine(stderr, "INFO: Connecting to the print server of %s", job.port.c_str());
    if (!table.StartDocPort(port, job.printer.c_str(), job.id, 1, nullptr)) {
        table.ClosePort(port);
        WriteLine(stderr, "ERROR: The print server of %s cannot be reached.", job.port.c_str());
        return job.cancelled() ? kBackendFailed : kBackendRetry;
    }
    WriteLine(stderr, "INFO: Printing");
    const Written written = WriteJob(table, port, job, input);
    // Only a job that went whole gets its end; closing the port of another cuts its connection.
    const bool ended = written == Written::Whole && table.EndDocPort(port) && !job.cancelled();
    table.ClosePort(port);
    if (written == Written::ReadFailed) {
        WriteLine(stderr, "ERROR: The job file cannot be read.");
    }
    if (!ended) {
        WriteLine(stderr, "ERROR: The job did not reach the print server whole.");
        return kBackendFailed;
    }
    return kBackendOk;
}

}  // namespace

int PrintJob(const plat::MonitorTable& table, const BackendJob& job, JobInput& input) {
    for (std::uint32_t copy = 0; copy < job.copies; ++copy) {
        if (copy > 0 && !input.Rewind()) {
            WriteLine(stderr, "ERROR: The job file cannot be read.");
            return kBackendFailed;
        }
        if (job.copies > 1) {
            WriteLine(stderr, "INFO: Copy %u of %u", copy + 1, job.copies);
        }
        if (const int status = PrintCopy(table, job, input); status != kBackendOk) {
            return status;
        }
    }
    WriteLine(stderr, "INFO: Done");
    return kBackendOk;
}
