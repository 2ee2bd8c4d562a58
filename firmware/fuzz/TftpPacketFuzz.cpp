// Reads a datagram as each kind of TFTP packet the firmware server takes.
#include "firmware/TftpPacket.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fendrel::TftpBytes datagram(data, size);
    fendrel::TftpOpcodeOf(datagram);
    fendrel::TftpRequest request;
    fendrel::ParseTftpRequest(datagram, request);
    std::uint16_t block = 0;
    fendrel::ParseTftpAck(datagram, block);
    return 0;
}
