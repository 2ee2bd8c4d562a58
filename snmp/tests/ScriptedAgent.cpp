#include "snmp/tests/ScriptedAgent.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "snmp/codec/MessageCodec.h"
#include "snmp/codec/SnmpValueType.h"

namespace snmp::test {

namespace {

constexpr int kPollMs = 20;

ReceivedRequest Decode(const std::uint8_t* bytes, std::size_t length) {
    ReceivedRequest request;
    ReqParam* message = DecodeMessage(bytes, length, kAcceptRequests);
    if (message == nullptr) {
        return request;
    }
    request.pduType = message->PduType;
    request.requestId = message->RequestId;
    request.community.assign(message->Community, message->CommunityLength);
    for (std::size_t i = 0; i < message->BindingCount; ++i) {
        const VarBind& binding = message->Bindings[i];
        const auto* value = static_cast<const std::uint8_t*>(binding.Value);
        request.bindings.push_back({std::string(binding.Oid, binding.OidLength), binding.ValueType,
                                    Bytes(value, value + binding.ValueLength)});
    }
    FreeReqParam(message);
    return request;
}

}  // namespace

Bytes Answer(const ReceivedRequest& request, const std::vector<SentBinding>& bindings,
             std::uint8_t errorStatus, std::int32_t idOffset) {
    std::vector<VarBind> records;
    std::vector<SentBinding> copies = bindings;
    for (SentBinding& binding : copies) {
        records.push_back({binding.oid.data(), static_cast<std::int32_t>(binding.oid.size()), binding.type,
                           binding.value.data(), static_cast<std::int32_t>(binding.value.size())});
    }
    char community[] = "k!r@o#v$e%t";
    const ReqParam answer{community,
                          11,
                          kPduResponse,
                          request.requestId + idOffset,
                          errorStatus,
                          static_cast<std::uint16_t>(errorStatus != 0 ? 1 : 0),
                          static_cast<std::uint16_t>(records.size()),
                          records.data()};
    Bytes message(65535);
    std::size_t written = 0;
    EncodeMessage(answer, message.data(), message.size(), written);
    message.resize(written);
    return message;
}

SentBinding Integer(const std::string& oid, std::int32_t value) {
    Bytes bytes(4);
    std::memcpy(bytes.data(), &value, 4);
    return {oid, kSnmpInteger, bytes};
}

SentBinding Octets(const std::string& oid, const std::string& bytes) {
    return {oid, kSnmpOctetString, Bytes(bytes.begin(), bytes.end())};
}

ScriptedAgent::ScriptedAgent(Script script) : script_(std::move(script)) {
    fd_ = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(161);
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        close(fd_);
        fd_ = -1;
    }
    if (fd_ >= 0) {
        thread_ = std::thread([this] { Serve(); });
    }
}

ScriptedAgent::~ScriptedAgent() {
    stopping_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (fd_ >= 0) {
        close(fd_);
    }
}

std::vector<ReceivedRequest> ScriptedAgent::Requests() {
    std::lock_guard<std::mutex> hold(lock_);
    return requests_;
}

void ScriptedAgent::Serve() {
    std::vector<sockaddr_in> senders;
    while (!stopping_) {
        pollfd ready{fd_, POLLIN, 0};
        if (poll(&ready, 1, kPollMs) != 1) {
            continue;
        }
        std::uint8_t datagram[2048];
        sockaddr_in sender{};
        socklen_t senderSize = sizeof sender;
        const ssize_t got =
            recvfrom(fd_, datagram, sizeof datagram, 0, reinterpret_cast<sockaddr*>(&sender), &senderSize);
        if (got <= 0) {
            continue;
        }
        senders.push_back(sender);
        std::vector<ReceivedRequest> requests;
        {
            std::lock_guard<std::mutex> hold(lock_);
            requests_.push_back(Decode(datagram, static_cast<std::size_t>(got)));
            requests = requests_;
        }
        for (const Reply& reply : script_(requests)) {
            const sockaddr_in& to = senders.at(reply.toRequest);
            sendto(fd_, reply.datagram.data(), reply.datagram.size(), 0,
                   reinterpret_cast<const sockaddr*>(&to), sizeof to);
        }
    }
}

}  // namespace snmp::test
