#include "firmware/FirmwareFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace fendrel {

FirmwareFile::~FirmwareFile() {
    Close();
}

FirmwareFile::OpenResult FirmwareFile::Open(const std::string& path) {
    Close();
    // Not blocking, so that a pipe or a device put at the path cannot hold the server up in open.
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        return errno == ENOENT || errno == ENOTDIR ? OpenResult::kMissing : OpenResult::kUnreadable;
    }
    struct stat status {};
    if (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) {
        Close();
        return OpenResult::kUnreadable;
    }
    size_ = static_cast<std::uint64_t>(status.st_size);
    return OpenResult::kOk;
}

void FirmwareFile::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    size_ = 0;
}

std::ptrdiff_t FirmwareFile::Read(std::uint8_t* buffer, std::size_t count) {
    std::size_t total = 0;
    while (total < count) {
        const ssize_t got = ::read(fd_, buffer + total, count - total);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::size_t>(got);
    }
    return static_cast<std::ptrdiff_t>(total);
}

}  // namespace fendrel
