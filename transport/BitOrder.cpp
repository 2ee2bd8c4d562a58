#include "transport/DlcCommandLayer.h"

std::uint8_t ReverseBits(std::uint8_t value) {
    std::uint8_t reversed = 0;
    for (int bit = 0; bit < 8; ++bit) {
        reversed = static_cast<std::uint8_t>((reversed << 1) | ((value >> bit) & 1));
    }
    return reversed;
}

void ReverseBitsInBuffer(std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = ReverseBits(bytes[i]);
    }
}
