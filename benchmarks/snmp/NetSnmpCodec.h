#pragma once

// net-snmp's own encoder and decoder on the detail query's messages, the yardstick of the codec
// comparison. Kept behind this small interface: net-snmp's headers stay in one translation unit.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace snmp::bench {

class NetSnmpCodec {
  public:
    // Prepares a version 1 session with the system's community and the detail query's get. Its
    // identifiers are parsed to arcs here, once, outside the timing; the system's encoder reads
    // them as dotted text in every message, and its decoder writes them as text.
    NetSnmpCodec();
    ~NetSnmpCodec();
    NetSnmpCodec(const NetSnmpCodec&) = delete;
    NetSnmpCodec& operator=(const NetSnmpCodec&) = delete;

    // Encodes the prepared get; the message stays valid until the next call. Null on failure.
    const std::uint8_t* EncodeGet(std::size_t& length);
    // Decodes a message into a new PDU and frees it; the PDU's binding count, or -1 on failure.
    int Decode(const std::uint8_t* message, std::size_t length, std::int32_t* requestId = nullptr);
    // The first binding's value as text of a decoded message (a check of the decoding).
    std::string FirstOctetString(const std::uint8_t* message, std::size_t length);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace snmp::bench
