// Reads the values of an SNMP value text as the service table walk reads a get-next answer: the first
// byte gives how many values (up to 8) are asked for, the rest is the text.
#include <vector>

#include "netware/cardtable/CardExchange.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::vector<char> text(data + 1, data + size);
    std::vector<CardValue> values;
    ReadCardValues(text.data(), text.size(), data[0] % 8 + 1, values);
    return 0;
}
