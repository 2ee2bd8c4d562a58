// Reads a job list line from the input; what it reads must write back to a line that reads the same.
#include <cstdlib>
#include <string_view>

#include "confighelper/JobListFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto fields = joblist::ParseQuotedFields(line);
    if (!fields || fields->size() < 6) {
        return 0;
    }
    joblist::JobLine job;
    job.document = (*fields)[2];
    job.userName = (*fields)[5];
    const auto again = joblist::ParseQuotedFields(joblist::FormatJobLine(job));
    if (!again || again->size() != joblist::kFieldCount || (*again)[2] != job.document ||
        (*again)[5] != job.userName) {
        std::abort();
    }
    return 0;
}
