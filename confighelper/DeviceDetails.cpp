#include "confighelper/DeviceDetails.h"

#include <cstring>
#include <string>

#include "confighelper/BindingValue.h"
#include "confighelper/ChannelExchange.h"
#include "snmp/request/SnmpResult.h"
#include "transport/ProtocolMask.h"
#include "transport/WinsockTable.h"

bool TcpIpAvailable() {
    WinsockTable sockets;
    plat::SocketsData data{};
    if (sockets.WSAStartup(plat::MakeVersion(1, 1), &data) != 0) {
        return false;
    }
    const plat::SocketHandle socket = sockets.socket(plat::kAfInet, plat::kSockDgram, plat::kIpProtoUdp);
    const bool available = socket != plat::kInvalidSocket;
    if (available) {
        sockets.closesocket(socket);
    }
    sockets.WSACleanup();
    return available;
}

void ApplyTcpIpState(DeviceRecord& record, const DeviceIdentity& identity, const ReqParam* answer) {
    bool hasIp = false;
    if (answer != nullptr) {
        std::int32_t state = 0;
        hasIp = answer->BindingCount == 1 && answer->Bindings != nullptr &&
                IntegerValue(answer->Bindings[0], state) && state == 1 && TcpIpAvailable();
    } else if (identity.ipAddress) {
        const auto& bytes = *identity.ipAddress;
        hasIp =
            (bytes[0] | bytes[1] | bytes[2] | bytes[3]) != 0 && std::strcmp(record.ipAddress, "0.0.0.0") != 0;
    }
    if (!hasIp) {
        return;
    }
    record.protocolMask |= kProtocolIp;
    if (record.preferredProtocol != kProtocolDlc) {
        record.preferredProtocol = kProtocolIp;
    }
}

HelperResult QueryDeviceDetails(DeviceRecord& record) {
    // The entry to ask stays the one named before the answer may rename the record.
    const std::string adapterName = record.macAddress;
    Answer answer;
    const HelperResult result = GetOverChannel(adapterName.c_str(), kIdentityOids, answer);
    if (result != kHelperOk) {
        return result;
    }
    if (answer->ErrorStatus != 0) {
        return kSnmpAgentError;
    }
    const DeviceIdentity identity = ReadDeviceIdentity(*answer);
    ApplyDeviceIdentity(identity, record);
    Answer tcpIp;
    if (GetOverChannel(adapterName.c_str(), kTcpIpStateOid, tcpIp) == kHelperOk && tcpIp->ErrorStatus != 0) {
        tcpIp.reset();
    }
    ApplyTcpIpState(record, identity, tcpIp.get());
    return kHelperOk;
}
