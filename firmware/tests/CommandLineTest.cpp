#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "firmware/CommandLine.h"

namespace {

struct LineCase {
    std::string line;
    bool accepted;
    std::int32_t consoleWindow;
};

class CommandLineParsing : public testing::TestWithParam<LineCase> {};

TEST_P(CommandLineParsing, TakesTheWordAndTheSignedHandle) {
    const LineCase& c = GetParam();
    plat::WindowHandle window = 99;
    EXPECT_EQ(fendrel::ParseCommandLine(c.line, window), c.accepted) << c.line;
    EXPECT_EQ(static_cast<std::int32_t>(window), c.consoleWindow) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineParsing,
    testing::Values(LineCase{"TLX 1234", true, 1234}, LineCase{"TLX,-1234", true, -1234},
                    LineCase{"TLX 12x", true, 12}, LineCase{"TLX    77", true, 77},
                    LineCase{"TLX -1-2", true, 12}, LineCase{"TLX --5", true, 5},
                    LineCase{"TLX 4294967295", true, -1}, LineCase{"TLX 4294967297", true, 0},
                    LineCase{"TLX -8589934593", true, 0}, LineCase{"TLX 99999999999999999999999", true, 0},
                    LineCase{"TLX", true, 0}, LineCase{"TLX ", true, 0}, LineCase{"TLX x5", true, 0},
                    LineCase{"", false, 0}, LineCase{"tlx 5", false, 0}, LineCase{"TLXA 5", false, 0},
                    LineCase{" TLX 5", false, 0}, LineCase{"XYZ 5", false, 0}));

TEST(CommandLine, ArgumentsAreJoinedByBlanks) {
    const char* argv[] = {"fendrel", "TLX", "-42"};
    EXPECT_EQ(fendrel::JoinArguments(3, argv), "TLX -42");
    EXPECT_EQ(fendrel::JoinArguments(1, argv), "");
}

}  // namespace
