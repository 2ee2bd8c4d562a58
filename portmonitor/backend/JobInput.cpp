#include "portmonitor/backend/JobInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

bool JobInput::Open(const char* path) {
    fd_ = path != nullptr ? open(path, O_RDONLY | O_CLOEXEC) : STDIN_FILENO;
    owned_ = path != nullptr;
    struct stat status {};
    if (fd_ >= 0 && fstat(fd_, &status) == 0 && S_ISREG(status.st_mode)) {
        expected_ = status.st_size;
    }
    return fd_ >= 0;
}

JobInput::~JobInput() {
    if (owned_ && fd_ >= 0) {
        close(fd_);
    }
}

bool JobInput::Rewind() {
    read_ = 0;
    return Rewindable() && lseek(fd_, 0, SEEK_SET) == 0;
}

JobInput::Status JobInput::Read(std::uint8_t* buffer, std::size_t size, std::size_t& count) {
    count = 0;
    while (true) {
        const ssize_t got = read(fd_, buffer, size);
        if (got > 0) {
            count = static_cast<std::size_t>(got);
            read_ += got;
            return Status::Data;
        }
        if (got == 0) {
            return expected_ < 0 || read_ == expected_ ? Status::End : Status::Failed;
        }
        if (errno != EINTR) {
            return Status::Failed;
        }
    }
}
