// The other process of the transport tests: a print server's end of one protocol. It binds a
// blocking transport and, for each datagram, writes a line "got SENDER PORT LENGTH PAYLOAD" to
// standard output and answers "echo:" + payload to the sender (not with --silent). With --store
// ADAPTER the line also carries the "pProtocol" the device store holds for ADAPTER when the datagram
// arrives. It ends when its standard input closes.
//
//   transport_peer udp|ipx|dlc PORT [--silent] [--store ADAPTER]
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/store/ConfigStore.h"
#include "transport/DeviceStorePath.h"
#include "transport/DlcTransport.h"
#include "transport/HexCodec.h"
#include "transport/IpxTransport.h"
#include "transport/UdpTransport.h"

namespace {

bool InputClosed() {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (poll(&input, 1, 0) != 1) {
        return false;
    }
    char byte;
    return read(STDIN_FILENO, &byte, 1) <= 0;
}

std::string SenderText(const std::string& protocol, const std::uint8_t* sender) {
    if (protocol == "udp") {
        char text[16];
        std::snprintf(text, sizeof text, "%u.%u.%u.%u", sender[0], sender[1], sender[2], sender[3]);
        return text;
    }
    char text[21];
    BytesToHexText(text, sender, protocol == "ipx" ? IpxTransport::kSenderBytes : kDlcAddressBytes);
    return text;
}

long StoredPreference(const char* adapter) {
    plat::StoreKey key = 0;
    if (plat::StoreOpenKey(plat::kStoreLocalMachine, DeviceStoreEntryPath(adapter).c_str(), plat::kStoreRead,
                           &key) != plat::kStoreOk) {
        return -1;
    }
    std::uint32_t value = 0;
    std::uint32_t size = sizeof value;
    const bool found = plat::StoreQueryValue(key, "pProtocol", nullptr, &value, &size) == plat::kStoreOk;
    plat::StoreCloseKey(key);
    return found ? static_cast<long>(value) : -1;
}

std::unique_ptr<DatagramTransport> MakeTransport(const std::string& protocol) {
    if (protocol == "udp") {
        return std::make_unique<UdpTransport>(1, 1, 0, nullptr, nullptr);
    }
    if (protocol == "ipx") {
        return std::make_unique<IpxTransport>(1, 1, 0, nullptr, nullptr);
    }
    DlcInitialize();
    return std::make_unique<DlcTransport>(1, 1, 0, nullptr, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: transport_peer udp|ipx|dlc PORT [--silent] [--store ADAPTER]\n");
        return 2;
    }
    const std::string protocol = argv[1];
    const auto port = static_cast<std::uint16_t>(std::strtoul(argv[2], nullptr, 0));
    bool silent = false;
    const char* storeAdapter = nullptr;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--silent") == 0) {
            silent = true;
        } else if (std::strcmp(argv[i], "--store") == 0 && i + 1 < argc) {
            storeAdapter = argv[++i];
        }
    }
    std::unique_ptr<DatagramTransport> transport = MakeTransport(protocol);
    const TransportResult bound = transport->Bind(port);
    std::printf("ready %d\n", bound);
    std::fflush(stdout);
    if (bound != 0) {
        return 1;
    }
    while (!InputClosed()) {
        char buffer[2048];
        std::uint32_t length = 0;
        std::uint8_t sender[10] = {};
        std::uint16_t senderPort = 0;
        if (transport->Receive(buffer, sizeof buffer, &length, sender, &senderPort) != 0) {
            continue;
        }
        const std::string from = SenderText(protocol, sender);
        const std::string payload(buffer, length);
        std::printf("got %s %u %u %s", from.c_str(), senderPort, length, payload.c_str());
        if (storeAdapter != nullptr) {
            std::printf(" pProtocol=%ld", StoredPreference(storeAdapter));
        }
        std::printf("\n");
        std::fflush(stdout);
        if (!silent) {
            const std::string answer = "echo:" + payload;
            transport->SendTo(answer.data(), static_cast<std::uint32_t>(answer.size()), from.c_str(),
                              senderPort);
        }
    }
    return 0;
}
