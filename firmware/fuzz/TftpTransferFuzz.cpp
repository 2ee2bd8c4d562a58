// Runs a transfer of a small firmware file through a sequence of datagrams from two clients. Each
// record of the input: a control byte (bit 0: from the second client, bit 1: the retransmission
// time-out expires first), a length byte, then that many bytes of datagram.
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "firmware/TftpTransfer.h"

namespace {

std::string firmwarePath;

void RemoveFirmware() {
    unlink(firmwarePath.c_str());
}

// A file of two whole blocks and a short one.
std::string MakeFirmware() {
    char path[] = "/tmp/tftp-fuzz-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        std::abort();
    }
    const std::vector<char> bytes(2 * fendrel::kTftpBlockSize + 100, 'F');
    if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        std::abort();
    }
    close(fd);
    return path;
}

class Host final : public fendrel::TftpTransferHost {
  public:
    bool Send(fendrel::TftpBytes packet, const fendrel::TftpPeer&) override {
        if (packet.size() > fendrel::kTftpMaxDatagram) {
            std::abort();
        }
        return true;
    }
    void Report(std::uint16_t, std::uint16_t) override {}
    std::string ChosenFile() override { return firmwarePath; }
    void ArmRetransmit() override {}
    void DisarmRetransmit() override {}
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    firmwarePath = MakeFirmware();
    std::atexit(RemoveFirmware);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fendrel::TftpPeer clients[] = {{{127, 0, 0, 1}, 2000}, {{127, 0, 0, 2}, 2001}};
    Host host;
    fendrel::TftpTransfer transfer(host, 2);
    std::size_t at = 0;
    while (size - at >= 2) {
        const std::uint8_t control = data[at];
        const std::size_t length = std::min<std::size_t>(data[at + 1], size - at - 2);
        if ((control & 2) != 0) {
            transfer.HandleRetransmitTimeout();
        }
        transfer.HandleDatagram(fendrel::TftpBytes(data + at + 2, length), clients[control & 1]);
        at += 2 + length;
    }
    return 0;
}
