#pragma once

// Hand-made BER for the tests, written independently of the codec under test.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace snmp::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Tag, length octets (short or long form) and content.
inline Bytes Tlv(std::uint8_t tag, const Bytes& content) {
    Bytes all = {tag};
    const std::size_t n = content.size();
    if (n < 0x80) {
        all.push_back(static_cast<std::uint8_t>(n));
    } else if (n < 0x100) {
        all.insert(all.end(), {0x81, static_cast<std::uint8_t>(n)});
    } else {
        all.insert(all.end(), {0x82, static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)});
    }
    all.insert(all.end(), content.begin(), content.end());
    return all;
}

inline Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// 1.3.6.1.2.1.1.N.0 and its content bytes.
inline Bytes SystemOid(std::uint8_t n) {
    return Tlv(0x06, {0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, n, 0x00});
}

// 1.3.6.1.4.1.32473.11.5.1 (the print servers' private subtree) followed by `arcs` (each below 128).
inline Bytes PrivateOid(std::initializer_list<std::uint8_t> arcs) {
    Bytes content = {0x2B, 0x06, 0x01, 0x04, 0x01, 0x81, 0xFD, 0x59, 0x0B, 0x05, 0x01};
    content.insert(content.end(), arcs);
    return Tlv(0x06, content);
}

// 1.3 followed by `arcs` arcs of 1 and a last arc `last`: the text is 3 + 2 x arcs + digits of last.
inline Bytes LongOid(std::size_t arcs, std::uint8_t last) {
    Bytes content = {0x2B};
    content.insert(content.end(), arcs, 0x01);
    content.push_back(last);
    return Tlv(0x06, content);
}

inline Bytes Binding(const Bytes& oid, const Bytes& value) {
    return Tlv(0x30, Cat({oid, value}));
}

// A whole SNMPv1 message with a PDU of the given tag around request id 1 and the bindings.
inline Bytes Message(std::uint8_t pduTag, const Bytes& bindings, std::uint8_t errorStatus = 0,
                     const std::string& community = "public") {
    const Bytes pdu = Tlv(
        pduTag, Cat({{0x02, 0x01, 0x01, 0x02, 0x01, errorStatus, 0x02, 0x01, 0x00}, Tlv(0x30, bindings)}));
    return Tlv(0x30, Cat({{0x02, 0x01, 0x00}, Tlv(0x04, Text(community)), pdu}));
}

inline Bytes Response(const Bytes& bindings, std::uint8_t errorStatus = 0) {
    return Message(0xA2, bindings, errorStatus);
}

// An SNMPv1 trap from 10.0.0.7, enterprise 1.3.6.1.4.1.32473, with the given generic and specific
// trap fields (specific as INTEGER content bytes) and bindings.
inline Bytes Trap(std::uint8_t generic, const Bytes& specific, const Bytes& bindings,
                  const std::string& community = "public", std::uint8_t version = 0) {
    const Bytes pdu = Tlv(0xA4, Cat({Tlv(0x06, {0x2B, 0x06, 0x01, 0x04, 0x01, 0x81, 0xFD, 0x59}),
                                     {0x40, 0x04, 10, 0, 0, 7},
                                     {0x02, 0x01, generic},
                                     Tlv(0x02, specific),
                                     {0x43, 0x02, 0x12, 0x34},
                                     Tlv(0x30, bindings)}));
    return Tlv(0x30, Cat({{0x02, 0x01, version}, Tlv(0x04, Text(community)), pdu}));
}

}  // namespace snmp::test
