#include "netware/NameList.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kLongestName = 9999;  // the record's length field has four digits

}  // namespace

NameListWriter::NameListWriter(char* buffer, std::uint32_t* length, std::int32_t* count)
    : buffer_(buffer), length_(length), count_(count) {
    if (count_ != nullptr) {
        *count_ = 0;
    }
    if (Usable()) {
        capacity_ = *length_;
        buffer_[0] = '\0';
    }
}

NwResult NameListWriter::Append(std::string_view name, std::string_view kind) {
    const std::size_t record = name.size() + 6 + kind.size();
    if (!Usable() || name.size() > kLongestName || capacity_ < written_ + record) {
        return kNwDoesNotFit;
    }
    char* at = buffer_ + written_;
    std::snprintf(at, 6, "%04u,", static_cast<unsigned>(name.size()));
    name.copy(at + 5, name.size());
    at[5 + name.size()] = ',';
    kind.copy(at + 6 + name.size(), kind.size());
    written_ += static_cast<std::uint32_t>(record);
    buffer_[written_] = '\0';
    if (count_ != nullptr) {
        ++*count_;
    }
    return kNwOk;
}

void NameListWriter::Finish() {
    if (!Usable()) {
        return;
    }
    if (written_ > 0) {
        --written_;  // the comma that ends the last record
    }
    buffer_[written_] = '\0';
    *length_ = written_;
}

NwResult CopyText(std::string_view text, char* buffer, std::uint32_t* length) {
    if (buffer == nullptr || length == nullptr || text.size() > *length) {
        return kNwDoesNotFit;
    }
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    *length = static_cast<std::uint32_t>(text.size());
    return kNwOk;
}
