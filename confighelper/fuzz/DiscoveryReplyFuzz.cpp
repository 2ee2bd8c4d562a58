// Folds a datagram into a device list as an answer to the discovery request (over each transport)
// and as an IPX service response.
#include "confighelper/DiscoveryReply.h"
#include "confighelper/SnmpMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DeviceList list;
    Answer answer = DecodeAnswer(data, static_cast<std::uint32_t>(size));
    if (answer) {
        const std::uint8_t sender[10] = {127, 0, 0, 1, 0xC0, 0xDE, 0x12, 0x34, 0x56, 0x78};
        for (ProtocolMask kind : {kProtocolIp, kProtocolIpx, kProtocolDlc}) {
            ParseDiscoveryReply(*answer, sender, list, kind);
        }
    }
    ParseSapReply(data, size, list);
    return 0;
}
