#include <gtest/gtest.h>

#include "portmonitor/backend/CupsOptions.h"

namespace {

// cupsd escapes a value's blanks and quotes with a backslash; a user may quote a value.
TEST(CupsOptions, FindsAnOptionsValueAsCupsdWritesIt) {
    struct Case {
        const char* options;
        const char* name;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"finishings=3 job-originating-host-name=localhost number-up=1", "job-originating-host-name",
         "localhost"},
        {"a=1 job-originating-host-name=pc\\ one b=2", "job-originating-host-name", "pc one"},
        {"title='a b' x=\"c \\\" d\"", "title", "a b"},
        {"title='a b' x=\"c \\\" d\"", "x", "c \" d"},
        {"  flag  other=1", "flag", ""},
        {"job-originating-host-name-x=1", "job-originating-host-name", std::nullopt},
        {"", "job-originating-host-name", std::nullopt},
        {"name=\"unterminated", "name", "unterminated"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CupsOptionValue(c.options, c.name), c.value) << c.options << " / " << c.name;
    }
}

}  // namespace
