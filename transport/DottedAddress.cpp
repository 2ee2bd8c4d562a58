#include "transport/DottedAddress.h"

#include <arpa/inet.h>

std::optional<std::uint32_t> ParseDottedAddress(const char* text) {
    in_addr address{};
    if (text == nullptr || inet_pton(AF_INET, text, &address) != 1) {
        return std::nullopt;
    }
    return address.s_addr;
}
