#include <cstdio>
#include <cstring>

#include "netware/cardtable/ServiceRowWalk.h"
#include "platform/services/ExportGuard.h"

namespace {

// Writes NameList records into the caller's buffer, never past its size, always terminated.
class NameListWriter {
  public:
    NameListWriter(char* buffer, std::uint32_t size) : buffer_(buffer), size_(size) { Terminate(); }

    // "%04d," then the text and a comma; false when it does not fit with room to spare for the end.
    bool Append(const std::string& text) {
        const std::string record = Width4(text.size()) + "," + text + ",";
        if (text.size() > 9999 || size_ < written_ + text.size() + 7) {
            return false;
        }
        std::memcpy(buffer_ + written_, record.data(), record.size());
        written_ += record.size();
        Terminate();
        return true;
    }

    std::size_t Position() const { return written_; }
    void Rewind(std::size_t position) {
        written_ = position;
        Terminate();
    }

    // The last comma becomes the end of the text; gives the text's length.
    std::uint32_t Finish() {
        if (written_ > 0) {
            --written_;
            Terminate();
        }
        return static_cast<std::uint32_t>(written_);
    }

  private:
    static std::string Width4(std::size_t value) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04zu", value);
        return digits;
    }
    void Terminate() {
        if (written_ < size_) {
            buffer_[written_] = '\0';
        }
    }

    char* buffer_;
    std::uint32_t size_;
    std::size_t written_ = 0;
};

std::string WalkStart() {
    return ColumnOid(kColumnQueuePath) + "," + ColumnOid(kColumnMode) + "," + ColumnOid(kColumnServerPath) +
           "," + ColumnOid(kColumnFour) + "," + ColumnOid(kColumnStatus);
}

}  // namespace

NwResult ListServiceRows(const RowReader& read, char* buffer, std::uint32_t* length, std::uint32_t* count) {
    if (buffer == nullptr || length == nullptr || count == nullptr || *length == 0) {
        return kNwNoMemory;
    }
    NameListWriter writer(buffer, *length);
    *count = 0;
    const NwResult result = WalkServiceRows(
        read, WalkStart(), 5, kColumnQueuePath,
        [&](std::int32_t, const std::vector<CardValue>& values) -> std::optional<NwResult> {
            const std::size_t rowStart = writer.Position();
            for (int field = 0; field < 4; ++field) {
                if (!writer.Append(NameText(values[field]))) {
                    return kNwNoMemory;
                }
            }
            if (values[4].type == kCardInteger && values[4].text == std::to_string(kRowValid)) {
                ++*count;
            } else {
                writer.Rewind(rowStart);
            }
            return std::nullopt;
        },
        kNwOk);
    if (result == kNwOk) {
        *length = writer.Finish();
    }
    return result;
}

NW_CARD_EXPORT NwResult NwSNMPInit(const char* adapterName, char* buffer, std::uint32_t* length,
                                   std::uint32_t* count) {
    return plat::GuardExport(kCardBadAnswer, kNwNoMemory, [&] {
        return ListServiceRows(CardRowReader(adapterName), buffer, length, count);
    });
}
