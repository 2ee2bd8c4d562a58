#include "confighelper/JobListFormat.h"

#include <algorithm>
#include <cstdio>

namespace joblist {

namespace {

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : FieldText(text)) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

std::string Number(std::uint32_t value) {
    return std::to_string(value);
}

}  // namespace

std::string FieldText(std::string_view text) {
    std::string field(text);
    std::replace_if(
        field.begin(), field.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return field;
}

std::string LocalTimeText(std::time_t time) {
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d %02d/%02d/%04d", local.tm_hour, local.tm_min,
                  local.tm_sec, local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
    return text;
}

std::string FormatJobLine(const JobLine& job) {
    const std::string fields[kFieldCount] = {Number(job.jobId),
                                             Number(job.status),
                                             job.document,
                                             LocalTimeText(job.submitted),
                                             Number(job.sizeKb) + "KB",
                                             job.userName,
                                             job.totalPages != 0 ? Number(job.totalPages) : "",
                                             Number(job.priority)};
    std::string line;
    for (const std::string& field : fields) {
        line += (line.empty() ? "" : ",") + Quoted(field);
    }
    return line + "\n";
}

std::optional<std::vector<std::string>> ParseQuotedFields(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (true) {
        if (at >= line.size() || line[at] != '"') {
            return std::nullopt;  // a field without its quotes
        }
        std::string field;
        for (++at;; ++at) {
            if (at >= line.size() || line[at] == '\r' || line[at] == '\n') {
                return std::nullopt;  // the quote never closes on this line
            }
            if (line[at] == '"') {
                if (at + 1 < line.size() && line[at + 1] == '"') {
                    field += '"';
                    ++at;
                    continue;
                }
                ++at;
                break;
            }
            field += line[at];
        }
        if (at < line.size() && line[at] != ',') {
            return std::nullopt;
        }
        fields.push_back(std::move(field));
        if (at >= line.size()) {
            return fields;
        }
        ++at;  // the comma
    }
}

}  // namespace joblist
