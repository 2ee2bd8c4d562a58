#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/store/StoreKeyHandle.h"
#include "platform/store/tests/StoreTestKey.h"

namespace {

using namespace plat;

using StoreKeyHandles = StoreTestKey;

TEST_F(StoreKeyHandles, TypedReadsAnswerOnlyTheirOwnType) {
    auto key = StoreKeyHandle::Open(kStoreLocalMachine, path_.c_str(), kStoreReadWrite);
    ASSERT_TRUE(key);
    ASSERT_EQ(key->WriteNumber("Number", 0xFFFFFFFFu), kStoreOk);
    ASSERT_EQ(key->WriteText("Text", "a,\"b\" c"), kStoreOk);
    const std::vector<std::uint8_t> bytes = {0, 1, 0, 2};
    ASSERT_EQ(key->WriteBytes("Bytes", bytes.data(), 4), kStoreOk);

    EXPECT_EQ(key->ReadNumber("Number"), 0xFFFFFFFFu);
    EXPECT_EQ(key->ReadText("Text"), "a,\"b\" c");
    EXPECT_EQ(key->ReadBytes("Bytes"), bytes);
    for (const char* name : {"Text", "Bytes", "Missing"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(key->ReadNumber(name));
    }
    EXPECT_FALSE(key->ReadText("Number"));
    EXPECT_FALSE(key->ReadBytes("Text"));
}

TEST_F(StoreKeyHandles, TextsReadBackWhole) {
    auto key = StoreKeyHandle::Open(kStoreLocalMachine, path_.c_str(), kStoreReadWrite);
    ASSERT_TRUE(key);
    const std::string longText(5000, 'x');
    for (const std::string& text : {std::string(), std::string("z"), longText}) {
        ASSERT_EQ(key->WriteText("Text", text), kStoreOk);
        EXPECT_EQ(key->ReadText("Text"), text);
    }
    SetText(key_, "Unterminated", "");  // stored as a single zero
    EXPECT_EQ(key->ReadText("Unterminated"), "");
}

// A field of N bytes takes a text of N - 1 characters and its terminator, or N unterminated ones.
TEST_F(StoreKeyHandles, TextWithinAFieldReadsWholeOrNotAtAll) {
    auto key = StoreKeyHandle::Open(kStoreLocalMachine, path_.c_str(), kStoreReadWrite);
    ASSERT_TRUE(key);
    ASSERT_EQ(key->WriteText("Fits", "abcd"), kStoreOk);
    ASSERT_EQ(key->WriteText("TooLong", "abcde"), kStoreOk);
    ASSERT_EQ(StoreSetValue(key_, "Unterminated", kStoreValueText, "abcde", 5), kStoreOk);
    ASSERT_EQ(key->WriteBytes("Bytes", "ab", 2), kStoreOk);
    EXPECT_EQ(key->ReadTextWithin("Fits", 5), "abcd");
    EXPECT_EQ(key->ReadTextWithin("Unterminated", 5), "abcde");
    for (const char* name : {"TooLong", "Bytes", "Missing"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(key->ReadTextWithin(name, 5));
    }
    EXPECT_FALSE(key->ReadTextWithin("Fits", 4));
}

TEST_F(StoreKeyHandles, ClosesOnceAndMovesOwnership) {
    StoreKey raw = 0;
    {
        auto key = StoreKeyHandle::Open(kStoreLocalMachine, path_.c_str());
        ASSERT_TRUE(key);
        StoreKeyHandle moved = std::move(*key);
        EXPECT_EQ(key->Get(), 0u);
        raw = moved.Get();
        ASSERT_NE(raw, 0u);
        EXPECT_EQ(StoreQueryValue(raw, "Missing", nullptr, nullptr, nullptr), kStoreNotFound);
    }
    EXPECT_EQ(StoreQueryValue(raw, "Missing", nullptr, nullptr, nullptr), kStoreInvalidHandle);
}

TEST_F(StoreKeyHandles, OpenFailsOnMissingKeyAndCreateMakesIt) {
    const std::string child = path_ + "\\A\\B";
    EXPECT_FALSE(StoreKeyHandle::Open(kStoreLocalMachine, child.c_str()));
    auto made = StoreKeyHandle::Create(kStoreLocalMachine, child.c_str());
    ASSERT_TRUE(made);
    auto parent = StoreKeyHandle::Open(kStoreLocalMachine, (path_ + "\\A").c_str());
    ASSERT_TRUE(parent);
    EXPECT_EQ(parent->SubkeyNames(), std::vector<std::string>{"B"});
    std::uint32_t after = 0;
    EXPECT_EQ(made->AddToNumber("Category", 4, &after), kStoreOk);
    EXPECT_EQ(after, 4u);
    EXPECT_EQ(made->DeleteValue("Category"), kStoreOk);
    EXPECT_FALSE(made->ReadNumber("Category"));

    EXPECT_EQ(parent->DeleteSubkey("B"), kStoreAccessDenied);  // opened for reading only
    auto writable = StoreKeyHandle::Open(kStoreLocalMachine, (path_ + "\\A").c_str(), kStoreReadWrite);
    ASSERT_TRUE(writable);
    EXPECT_EQ(writable->DeleteSubkey("B"), kStoreOk);
    EXPECT_FALSE(StoreKeyHandle::Open(kStoreLocalMachine, child.c_str()));
    EXPECT_EQ(writable->DeleteSubkey("B"), kStoreNotFound);
}

}  // namespace
