#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The job list file that the configuration helper writes and the console's job queue dialog reads:
// one line per job of eight fields, each in double quotes (a quote inside doubled), separated by
// commas: job id, status bits, document, submission time, size, user, total pages, priority. A line
// ends only where its job does: a carriage return or line feed inside a field is written as a blank.
namespace joblist {

constexpr std::size_t kFieldCount = 8;

struct JobLine {
    std::uint32_t jobId = 0;
    std::uint32_t status = 0;
    std::string document;
    std::time_t submitted = 0;  // UTC, written as local time with its date
    std::uint32_t sizeKb = 0;   // as the spooler gives it: whole kilobytes
    std::string userName;
    std::uint32_t totalPages = 0;  // 0: not known, written as an empty field
    std::uint32_t priority = 0;
};

// "hh:mm:ss MM/DD/YYYY" in this machine's local time (its date too, daylight saving included).
std::string LocalTimeText(std::time_t time);
// A field's text as the line holds it: each carriage return and line feed a blank.
std::string FieldText(std::string_view text);
// The line with its line end.
std::string FormatJobLine(const JobLine& job);

// The fields of one line (its line end, if any, removed); nullopt when it is not a line of quoted
// fields (a field without its quotes, an unclosed quote, text after a closing quote), which is never
// what the writer wrote.
std::optional<std::vector<std::string>> ParseQuotedFields(std::string_view line);

}  // namespace joblist
