#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

// The bytes of a job as cupsd hands them to a backend: a file, read once for each copy, or the
// standard input, read once. A read error, or a file that ends before the size it had when it was
// opened, fails the reading: a job that lost bytes must not look whole.
class JobInput {
  public:
    enum class Status { Data, End, Failed };

    // The file at the path (standard input for none); false when it cannot be opened.
    bool Open(const char* path);
    ~JobInput();
    JobInput() = default;
    JobInput(const JobInput&) = delete;
    JobInput& operator=(const JobInput&) = delete;

    // True when the job can be read again from its start (a file).
    bool Rewindable() const { return expected_ >= 0; }
    // Back to the start for the next copy; false when that fails.
    bool Rewind();
    // The next bytes into the buffer: Data with their count, End after the last, or Failed.
    Status Read(std::uint8_t* buffer, std::size_t size, std::size_t& count);

  private:
    int fd_ = -1;
    bool owned_ = false;
    off_t expected_ = -1;  // a regular file's size when opened
    off_t read_ = 0;
};
