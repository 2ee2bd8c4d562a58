// The job list file's lines: quoted fields that read back whole, and local submission times with
// their date.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "confighelper/JobListFormat.h"

namespace joblist {
namespace {

// Runs with the time zone set, as the machine's local time.
class LocalZone {
  public:
    explicit LocalZone(const char* zone) {
        const char* old = std::getenv("TZ");
        old_ = old != nullptr ? old : "";
        had_ = old != nullptr;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~LocalZone() {
        had_ ? setenv("TZ", old_.c_str(), 1) : unsetenv("TZ");
        tzset();
    }

  private:
    std::string old_;
    bool had_;
};

TEST(JobListFormatTest, NamesWithCommasAndQuotesReadBackWhole) {
    for (const char* name : {"Report, final", "say \"hi\"", "", "\",\"", "a\"\"b", "trailing,"}) {
        JobLine job{4294967295u, 17, name, 0, 12, name, 0, 50};
        const std::string line = FormatJobLine(job);
        ASSERT_EQ(line.back(), '\n');
        const auto fields = ParseQuotedFields(line);
        ASSERT_TRUE(fields) << line;
        ASSERT_EQ(fields->size(), kFieldCount) << line;
        EXPECT_EQ((*fields)[0], "4294967295");
        EXPECT_EQ((*fields)[1], "17");
        EXPECT_EQ((*fields)[2], name);
        EXPECT_EQ((*fields)[4], "12KB");
        EXPECT_EQ((*fields)[5], name);
        EXPECT_EQ((*fields)[6], "") << "an unknown page count is no number";
        EXPECT_EQ((*fields)[7], "50");
    }
}

// A title with a line break in it is one job with its own id: the second half never reads as a job
// of its own.
TEST(JobListFormatTest, ALineBreakInAFieldNeverEndsTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"report\n999,0,evil", "report 999,0,evil"},
        {"report\n\"999\",\"0\",\"evil\"", "report \"999\",\"0\",\"evil\""},
        {"a\r\nb", "a  b"},
        {"\r", " "},
    };
    for (const auto& [name, shown] : cases) {
        const std::string line = FormatJobLine({7, 0, name, 0, 1, name, 2, 1});
        EXPECT_EQ(line.find_first_of("\r\n"), line.size() - 1) << "one line end, at the end: " << line;
        const auto fields = ParseQuotedFields(line);
        ASSERT_TRUE(fields) << line;
        ASSERT_EQ(fields->size(), kFieldCount) << line;
        EXPECT_EQ((*fields)[0], "7");
        EXPECT_EQ((*fields)[2], shown);
        EXPECT_EQ((*fields)[5], shown);
    }
}

TEST(JobListFormatTest, LinesThatAreNotQuotedFieldsAreRefused) {
    struct Case {
        const char* line;
        std::optional<std::vector<std::string>> fields;
    };
    const Case cases[] = {
        {"\"open", std::nullopt},
        {"\"a\"b,\"c\"", std::nullopt},
        {"\"a\",\"b\"\r\n", std::vector<std::string>{"a", "b"}},
        {"\"a\",\"b\"\n", std::vector<std::string>{"a", "b"}},
        // The writer quotes every field and ends a line only after its last field.
        {"plain,\"q\",", std::nullopt},
        {"\"q\",", std::nullopt},
        {"999,\"0\",\"evil\"", std::nullopt},
        {"\"a\rb\"", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseQuotedFields(c.line), c.fields) << c.line;
    }
}

TEST(JobListFormatTest, SubmissionTimesAreLocalWithTheirDate) {
    struct Case {
        const char* zone;
        std::time_t utc;
        const char* local;
    };
    const Case cases[] = {
        // 2026-12-31 23:30:15 UTC: already the new year in Berlin.
        {"Europe/Berlin", 1798759815, "00:30:15 01/01/2027"},
        // 2027-01-01 00:10:00 UTC: still the old year in New York.
        {"America/New_York", 1798762200, "19:10:00 12/31/2026"},
        // 2026-03-29 00:59:59 and 01:00:01 UTC: Berlin's clocks go from 02:00 to 03:00 between them.
        {"Europe/Berlin", 1774745999, "01:59:59 03/29/2026"},
        {"Europe/Berlin", 1774746001, "03:00:01 03/29/2026"},
        {"UTC", 0, "00:00:00 01/01/1970"},
    };
    for (const Case& c : cases) {
        LocalZone zone(c.zone);
        EXPECT_EQ(LocalTimeText(c.utc), c.local) << c.zone << " " << c.utc;
    }
}

}  // namespace
}  // namespace joblist
