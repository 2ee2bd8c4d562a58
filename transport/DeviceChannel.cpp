#include "transport/DeviceChannel.h"

#include <algorithm>

#include "transport/DeviceRecord.h"
#include "transport/DeviceStorePath.h"
#include "transport/DeviceStoreReader.h"
#include "transport/DlcTransport.h"
#include "transport/IpxTransport.h"
#include "transport/ProtocolChoice.h"
#include "transport/UdpTransport.h"

namespace {

constexpr int kSendTries = 3;
constexpr int kReceiveCycles = 3;
}  // namespace

DeviceChannel::DeviceChannel(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                             plat::WindowProc windowProcedure, ModuleInstance instance)
    : instance_(instance),
      retries_(std::max(retries, 0)),
      timeOutSeconds_(timeOutSeconds),
      flags_(flags),
      windowProcedure_(windowProcedure) {}

DeviceChannel::~DeviceChannel() {
    Close();
}

TransportResult DeviceChannel::Send(const void* data, std::uint32_t length, const char* adapterName) {
    return SendRequest(data, length, adapterName, std::nullopt);
}

TransportResult DeviceChannel::SendTo(const void* data, std::uint32_t length, const char* adapterName,
                                      std::uint16_t port) {
    return SendRequest(data, length, adapterName, port);
}

TransportResult DeviceChannel::SendRequest(const void* data, std::uint32_t length, const char* adapterName,
                                           std::optional<std::uint16_t> port) {
    TransportResult result = kTransportSendFailed;
    for (int tries = 0; tries < kSendTries; ++tries) {
        transport_.reset();
        std::string address;
        transport_ = OpenTransport(adapterName, address);
        if (!transport_) {
            return kTransportSendFailed;
        }
        transport_->Bind(0);  // a failed bind shows in the send
        result = port ? transport_->SendTo(data, length, address.c_str(), *port)
                      : transport_->SendToDefault(data, length, address.c_str());
        if (result == kTransportOk) {
            if (data != savedRequest_.data()) {
                SaveRequest(data, length, adapterName, port);
            }
            return kTransportOk;
        }
        if (port) {
            transport_.reset();
        }
        if (SwitchProtocol(adapterName, currentProtocol_) != 0) {
            return result;
        }
    }
    return result;
}

void DeviceChannel::SaveRequest(const void* data, std::uint32_t length, const char* adapterName,
                                std::optional<std::uint16_t> port) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    savedRequest_.assign(bytes, bytes + length);
    savedAdapterName_ = adapterName;
    savedPort_ = port;
}

void DeviceChannel::Resend() {
    if (savedRequest_.empty()) {
        return;
    }
    SendRequest(savedRequest_.data(), static_cast<std::uint32_t>(savedRequest_.size()),
                savedAdapterName_.c_str(), savedPort_);
}

TransportResult DeviceChannel::Receive(void* buffer, std::uint32_t size, std::uint32_t* length,
                                       std::uint8_t* sender, std::uint16_t* port) {
    if (!transport_) {
        return kTransportReceiveFailed;
    }
    TransportResult result = kTransportReceiveFailed;
    for (int cycle = 0; cycle < kReceiveCycles; ++cycle) {
        for (std::int32_t attempt = 0; attempt <= retries_; ++attempt) {
            if (!transport_) {
                return kTransportReceiveFailed;
            }
            result = transport_->Receive(buffer, size, length, sender, port);
            if (result == kTransportOk) {
                return kTransportOk;
            }
            Resend();
        }
        if (savedRequest_.empty()) {
            return result;
        }
        transport_.reset();
        if (SwitchProtocol(savedAdapterName_.c_str(), currentProtocol_) != 0) {
            return result;
        }
        Resend();
    }
    return result;
}

void DeviceChannel::Close() {
    transport_.reset();
    savedRequest_.clear();
    savedRequest_.shrink_to_fit();
    savedAdapterName_.clear();
    savedPort_.reset();
}

TransportResult DeviceChannel::Bind(std::uint16_t port) {
    return transport_ ? transport_->Bind(port) : kTransportNotOpen;
}

DatagramTransport::Socket DeviceChannel::GetSocket() const {
    return transport_ ? transport_->GetSocket() : DatagramTransport::kNoSocket;
}

std::unique_ptr<DatagramTransport> DeviceChannel::OpenTransport(const char* adapterName,
                                                                std::string& address) {
    DeviceRecord record;
    if (HelperGetRegNPCDetails(adapterName, record) != kTransportOk) {
        return nullptr;
    }
    const std::uint8_t protocol = ChooseProtocol(record);
    // Every transport of a channel makes one attempt per call: the channel does its own resending.
    constexpr std::int32_t kOneAttempt = 1;
    std::unique_ptr<DatagramTransport> transport;
    switch (protocol) {
        case kProtocolDlc:
            address = record.macAddress;
            transport = std::make_unique<DlcTransport>(kOneAttempt, timeOutSeconds_, flags_, windowProcedure_,
                                                       instance_);
            break;
        case kProtocolIp:
            address = record.ipAddress;
            transport = std::make_unique<UdpTransport>(kOneAttempt, timeOutSeconds_, flags_, windowProcedure_,
                                                       instance_);
            break;
        case kProtocolIpx:
            address = record.ipxAddress;
            transport = std::make_unique<IpxTransport>(kOneAttempt, timeOutSeconds_, flags_, windowProcedure_,
                                                       instance_);
            break;
        default:
            return nullptr;
    }
    currentProtocol_ = protocol;
    return transport;
}

int DeviceChannel::SwitchProtocol(const char* adapterName, std::uint8_t failedProtocol) {
    const auto key = OpenDeviceStoreEntry(adapterName, plat::kStoreReadWrite);
    const std::optional<std::uint32_t> mask = key ? key->ReadNumber("cProtocols") : std::nullopt;
    if (!mask) {
        return 1;
    }
    const std::uint32_t next = NextProtocol(failedProtocol, static_cast<std::uint8_t>(*mask));
    return next != 0 && key->WriteNumber("pProtocol", next) == plat::kStoreOk ? 0 : 1;
}
