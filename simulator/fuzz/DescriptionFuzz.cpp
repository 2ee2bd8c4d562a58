// Parses a text as a simulated network's description file.
#include <string>
#include <string_view>

#include "simulator/DescriptionFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    sim::ParseDescription(std::string_view(reinterpret_cast<const char*>(data), size), error);
    return 0;
}
