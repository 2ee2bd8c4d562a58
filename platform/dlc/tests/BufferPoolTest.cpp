#include "platform/dlc/BufferPool.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

TEST(BufferPool, FrameSpreadsOverChainedBuffersAndComesBack) {
    std::vector<std::uint8_t> memory(5 * kDlcBufferSize + 3);
    BufferPool pool(memory.data() + 3, 5 * kDlcBufferSize);  // an unaligned start costs a slot
    ASSERT_EQ(pool.FreeCount(), 4u);
    std::vector<std::uint8_t> data(2 * kDlcBufferData + 10);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i);
    }
    DlcBuffer* frame = pool.TakeFrame(data);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(pool.FreeCount(), 1u);
    EXPECT_EQ(frame->frameLength, data.size());
    std::vector<std::uint8_t> copied;
    for (DlcBuffer* buffer = frame; buffer != nullptr; buffer = buffer->next) {
        copied.insert(copied.end(), buffer->data, buffer->data + buffer->dataLength);
    }
    EXPECT_EQ(copied, data);
    EXPECT_EQ(pool.TakeFrame(data), nullptr) << "not enough room left";
    EXPECT_TRUE(pool.Release(frame));
    EXPECT_EQ(pool.FreeCount(), 4u);
}

TEST(BufferPool, ReleaseRefusesWhatIsNotATakenBufferOfThePool) {
    std::vector<std::uint8_t> memory(4 * kDlcBufferSize + alignof(DlcBuffer));
    BufferPool pool(memory.data(), static_cast<std::uint32_t>(memory.size()));
    DlcBuffer* frame = pool.TakeFrame(std::vector<std::uint8_t>(10, 1));
    DlcBuffer outside{};
    EXPECT_FALSE(pool.Release(&outside));
    EXPECT_FALSE(pool.Release(reinterpret_cast<DlcBuffer*>(reinterpret_cast<std::uint8_t*>(frame) + 8)));
    frame->next = frame;  // a chain that loops
    EXPECT_FALSE(pool.Release(frame));
    EXPECT_FALSE(pool.Release(frame)) << "given back already";
    EXPECT_EQ(pool.FreeCount(), 4u);
}

}  // namespace
}  // namespace plat
