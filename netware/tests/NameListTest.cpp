#include "netware/NameList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The buffer holds exactly the capacity and the NUL: the sanitizer catches a write past it.
struct Buffer {
    explicit Buffer(std::uint32_t capacity) : bytes(capacity + 1, '#'), length(capacity) {}
    std::vector<char> bytes;
    std::uint32_t length;
    std::int32_t count = -1;
};

TEST(NameListTest, RecordsFollowEachOtherAndTheLastCommaGoes) {
    Buffer buffer(64);
    NameListWriter list(buffer.bytes.data(), &buffer.length, &buffer.count);
    EXPECT_EQ(list.Append("FS1"), kNwOk);
    EXPECT_EQ(list.Append("A"), kNwOk);
    EXPECT_EQ(list.Append("CORP", "1,C,"), kNwOk);
    list.Finish();
    EXPECT_STREQ(buffer.bytes.data(), "0003,FS1,0001,A,0004,CORP,1,C");
    EXPECT_EQ(buffer.length, 29u);
    EXPECT_EQ(buffer.count, 3);
}

TEST(NameListTest, AnEmptyListIsAnEmptyTextOfLengthZero) {
    Buffer buffer(10);
    std::copy_n("old", 4, buffer.bytes.data());
    NameListWriter list(buffer.bytes.data(), &buffer.length, &buffer.count);
    list.Finish();
    EXPECT_STREQ(buffer.bytes.data(), "");
    EXPECT_EQ(buffer.length, 0u);
    EXPECT_EQ(buffer.count, 0);
}

TEST(NameListTest, ARecordIsRefusedOnlyWhenItWouldPassTheCapacity) {
    struct Case {
        std::uint32_t capacity;
        const char* kind;
        NwResult second;
    };
    // "0002,AB," takes 8 characters, with a kind 12.
    for (const Case& c : {Case{16, "", kNwOk}, Case{15, "", kNwDoesNotFit}, Case{24, "1,O,", kNwOk},
                          Case{23, "1,O,", kNwDoesNotFit}}) {
        Buffer buffer(c.capacity);
        NameListWriter list(buffer.bytes.data(), &buffer.length, &buffer.count);
        ASSERT_EQ(list.Append("AB", c.kind), kNwOk);
        EXPECT_EQ(list.Append("CD", c.kind), c.second) << c.capacity;
        if (c.second != kNwOk) {
            EXPECT_EQ(std::string(buffer.bytes.data()), std::string("0002,AB,") + c.kind);
            EXPECT_EQ(buffer.count, 1);
        }
    }
}

TEST(NameListTest, NoBufferOrNoLengthWritesNothing) {
    std::uint32_t length = 10;
    std::int32_t count = 5;
    NameListWriter noBuffer(nullptr, &length, &count);
    EXPECT_FALSE(noBuffer.Usable());
    EXPECT_EQ(noBuffer.Append("A"), kNwDoesNotFit);
    EXPECT_EQ(count, 0);
    char text[4] = "abc";
    EXPECT_FALSE(NameListWriter(text, nullptr, nullptr).Usable());
}

TEST(NameListTest, CopyTextFitsExactlyOrNotAtAll) {
    char buffer[8] = "zzzzzzz";
    std::uint32_t length = 4;
    EXPECT_EQ(CopyText("ABCDE", buffer, &length), kNwDoesNotFit);
    EXPECT_STREQ(buffer, "zzzzzzz");
    EXPECT_EQ(CopyText("ABCD", buffer, &length), kNwOk);
    EXPECT_STREQ(buffer, "ABCD");
    EXPECT_EQ(length, 4u);
}

}  // namespace
