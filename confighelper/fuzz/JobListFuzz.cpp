// The job list file both ways. A line the reader takes must write back to a line that reads the
// same; and any document and user name (the input's two halves, line breaks and quotes included)
// must be written as one line that reads back as the one job the writer wrote.
#include <cstdlib>
#include <string_view>

#include "confighelper/JobListFormat.h"

namespace {

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

void ReadLineWritesBack(std::string_view line) {
    const auto fields = joblist::ParseQuotedFields(line);
    if (!fields || fields->size() < 6) {
        return;
    }
    joblist::JobLine job;
    job.document = (*fields)[2];
    job.userName = (*fields)[5];
    const auto again = joblist::ParseQuotedFields(joblist::FormatJobLine(job));
    Check(again && again->size() == joblist::kFieldCount && (*again)[2] == job.document &&
          (*again)[5] == job.userName);
}

void WrittenJobReadsBack(std::string_view input) {
    const std::size_t half = input.size() / 2;
    joblist::JobLine job;
    job.jobId = static_cast<std::uint32_t>(input.size());
    job.document = input.substr(0, half);
    job.userName = input.substr(half);
    const std::string line = joblist::FormatJobLine(job);
    Check(line.find_first_of("\r\n") == line.size() - 1);
    const auto fields = joblist::ParseQuotedFields(line);
    Check(fields && fields->size() == joblist::kFieldCount);
    Check((*fields)[0] == std::to_string(job.jobId));
    Check((*fields)[2] == joblist::FieldText(job.document) &&
          (*fields)[5] == joblist::FieldText(job.userName));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    ReadLineWritesBack(input);
    WrittenJobReadsBack(input);
    return 0;
}
