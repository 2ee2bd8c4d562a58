#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fendreltest {

// A folder of its own under the test's temporary folder, removed with everything in it.
class TestFolder {
  public:
    TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    ~TestFolder();

    std::string Path(const std::string& name) const { return path_ + "/" + name; }
    // Writes the file and answers its path.
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& content) const;
    std::vector<std::uint8_t> Read(const std::string& name) const;

  private:
    std::string path_;
};

// Bytes that differ from block to block, so that a block out of place shows.
std::vector<std::uint8_t> Pattern(std::size_t size, unsigned seed = 0);

}  // namespace fendreltest
