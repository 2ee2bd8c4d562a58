#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fendrel {

// The firmware file being served, read front to back. Closed when destroyed.
class FirmwareFile {
  public:
    enum class OpenResult { kOk, kMissing, kUnreadable };

    FirmwareFile() = default;
    FirmwareFile(const FirmwareFile&) = delete;
    FirmwareFile& operator=(const FirmwareFile&) = delete;
    ~FirmwareFile();

    // Opens a regular file for reading and takes its size; a folder or device counts as unreadable.
    OpenResult Open(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    // The size when the file was opened.
    std::uint64_t Size() const { return size_; }
    // Reads up to count bytes, fewer only at the end of the file; -1 on a read error.
    std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t count);

  private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

}  // namespace fendrel
