#include "firmware/tests/support/TestFiles.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fendreltest {

TestFolder::TestFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fendrel-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

TestFolder::~TestFolder() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

std::string TestFolder::Write(const std::string& name, const std::vector<std::uint8_t>& content) const {
    std::ofstream(Path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
    return Path(name);
}

std::vector<std::uint8_t> TestFolder::Read(const std::string& name) const {
    std::ifstream file(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> Pattern(std::size_t size, unsigned seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 509 + seed);
    }
    return bytes;
}

}  // namespace fendreltest
