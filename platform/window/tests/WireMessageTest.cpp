#include <gtest/gtest.h>

#include "platform/window/WireMessage.h"

namespace {

plat::WireMessage Sample() {
    plat::WireMessage wire;
    wire.kind = plat::WireMessage::Kind::kSend;
    wire.serial = 0x1122334455667788;
    wire.message = {0xFFFFFFFE, plat::kWmSetText, 12345, -42};
    wire.carriesText = true;
    wire.text = "CPH";
    return wire;
}

TEST(WireMessage, RoundTrip) {
    const auto bytes = plat::EncodeWire(Sample());
    const auto decoded = plat::DecodeWire(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->kind, plat::WireMessage::Kind::kSend);
    EXPECT_EQ(decoded->serial, 0x1122334455667788u);
    EXPECT_EQ(decoded->message.window, 0xFFFFFFFEu);
    EXPECT_EQ(decoded->message.message, plat::kWmSetText);
    EXPECT_EQ(decoded->message.wParam, 12345u);
    EXPECT_EQ(decoded->message.lParam, -42);
    EXPECT_TRUE(decoded->carriesText);
    EXPECT_EQ(decoded->text, "CPH");
}

TEST(WireMessage, LongTextIsCut) {
    plat::WireMessage wire = Sample();
    wire.text.assign(plat::kMaxCarriedText + 10, 'a');
    const auto bytes = plat::EncodeWire(wire);
    const auto decoded = plat::DecodeWire(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->text.size(), plat::kMaxCarriedText);
}

TEST(WireMessage, MalformedDatagramsAreRefused) {
    const auto good = plat::EncodeWire(Sample());
    const struct {
        const char* what;
        std::size_t offset;  // byte changed, or the length to cut to when value < 0
        int value;
    } cases[] = {
        {"empty", 0, -1},           {"short header", 20, -1}, {"text cut", good.size() - 1, -1},
        {"bad magic", 0, 0},        {"unknown kind", 4, 9},   {"carries flag", 5, 2},
        {"text too long", 40, 200}, {"text length 0", 40, 0},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes = good;
        if (c.value < 0) {
            bytes.resize(c.offset);
        } else {
            bytes[c.offset] = static_cast<std::uint8_t>(c.value);
        }
        EXPECT_FALSE(plat::DecodeWire(bytes.data(), bytes.size())) << c.what;
    }
    std::vector<std::uint8_t> trailing = good;
    trailing.push_back(0);
    EXPECT_FALSE(plat::DecodeWire(trailing.data(), trailing.size())) << "trailing byte";
}

}  // namespace
