#include "snmp/exchange/SnmpTransaction.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "platform/services/GlobalMemory.h"
#include "snmp/codec/MessageCodec.h"
#include "snmp/exchange/ExchangeTiming.h"
#include "snmp/request/RequestEncoder.h"
#include "snmp/request/SnmpResult.h"
#include "transport/DeviceChannel.h"

namespace snmp {

namespace {

constexpr std::size_t kSenderAddressSize = 16;  // the longest sender address: IPX, 10 bytes
constexpr std::int32_t kChannelRetries = 1;

struct BlockDeleter {
    void operator()(void* block) const { plat::FreeBlock(block); }
};
using MessageBlock = std::unique_ptr<std::uint8_t, BlockDeleter>;

struct RecordDeleter {
    void operator()(ReqParam* record) const { FreeReqParam(record); }
};
using AnswerRecord = std::unique_ptr<ReqParam, RecordDeleter>;

// How one round ended. Only an answer that does not decode or belongs to another request leads
// to a new round.
enum class RoundEnd { Answered, Sent, SendFailed, Silent, Undecodable, OtherRequest };

struct Round {
    RoundEnd end = RoundEnd::Silent;
    std::int32_t sendResult = kSnmpOk;
    AnswerRecord answer;
};

// The thread's room for an answer: any answer the print server can send fits (a longer one would be
// lost and read as silence). Kept from exchange to exchange and never cleared: taking 64 KiB from the
// heap and giving it back costs more than the rest of the exchange on this side. The receive fills it
// and the decode right after reads it, with no wait in between, so an exchange made while this one
// waits cannot spoil it.
std::uint8_t* AnswerRoom() {
    thread_local const auto room = std::make_unique_for_overwrite<std::uint8_t[]>(kLargestDatagram);
    return room.get();
}

// Sends the request and, when an answer is wanted, takes this request's GetResponse.
Round RunRound(DeviceChannel& channel, const Transaction& transaction, const EncodedRequest& request) {
    Round round;
    round.sendResult = channel.Send(request.message, request.length, transaction.adapterName);
    if (round.sendResult != kTransportOk) {
        round.end = RoundEnd::SendFailed;
        return round;
    }
    if (!transaction.waitForAnswer) {
        round.end = RoundEnd::Sent;
        return round;
    }
    std::uint8_t* const answer = AnswerRoom();
    std::uint8_t sender[kSenderAddressSize];
    std::uint32_t length = 0;
    std::uint16_t port = 0;
    if (channel.Receive(answer, kLargestDatagram, &length, sender, &port) != kTransportOk) {
        round.end = RoundEnd::Silent;
        return round;
    }
    round.answer.reset(DecodeMessage(answer, length, kAcceptResponse));
    if (round.answer == nullptr) {
        round.end = RoundEnd::Undecodable;
    } else if (round.answer->RequestId != request.requestId) {
        // Matched against this request's own id: another exchange of the process may have raised
        // the counter since this request was built.
        round.answer.reset();
        round.end = RoundEnd::OtherRequest;
    } else {
        round.end = RoundEnd::Answered;
    }
    return round;
}

std::int32_t WriteAnswer(const ReqParam& answer, const Transaction& transaction, std::size_t& answerSize) {
    // Error status 5 (general error) fails like every other: the buffers hold no answer.
    if (answer.ErrorStatus != 0) {
        return kSnmpAgentError;
    }
    AnswerSizes sizes;
    const bool fitted = FormatAnswer(answer, transaction.oidList, transaction.oidSize, transaction.values,
                                     transaction.valueSize, sizes, transaction.octets);
    answerSize = sizes.valueSize;
    return fitted || transaction.operation == kOperationSet ? kSnmpOk : kSnmpBufferTooSmall;
}

}  // namespace

std::int32_t RunTransaction(const Transaction& transaction, std::size_t& answerSize) {
    if (transaction.adapterName == nullptr || *transaction.adapterName == '\0') {
        return kSnmpNoResponse;
    }
    RequestText text;
    text.operation = transaction.operation;
    text.oidList = transaction.oidList;
    text.oidLength = transaction.oidSize;
    text.values = transaction.values;
    text.valueSize = transaction.valueSize;
    text.count = transaction.count;
    EncodedRequest request;
    if (const std::int32_t built = EncodeRequest(text, request); built != kSnmpOk) {
        return built;
    }
    const MessageBlock message(request.message);
    const ExchangeTiming timing = ReadExchangeTiming(transaction.operation);
    // The channel closes itself when the exchange ends.
    const auto timeOut = static_cast<std::int32_t>(std::min<std::uint32_t>(timing.timeOutSeconds, INT32_MAX));
    DeviceChannel channel(kChannelRetries, timeOut, 0, nullptr, nullptr);
    Round round;
    for (std::uint64_t rounds = 0; rounds <= timing.retries; ++rounds) {
        round = RunRound(channel, transaction, request);
        if (round.end != RoundEnd::Undecodable && round.end != RoundEnd::OtherRequest) {
            break;
        }
    }
    switch (round.end) {
        case RoundEnd::Answered:
            return WriteAnswer(*round.answer, transaction, answerSize);
        case RoundEnd::Sent:
        case RoundEnd::SendFailed:
            return round.sendResult;
        case RoundEnd::Undecodable:
            return kSnmpDecodeFailure;
        case RoundEnd::Silent:
        case RoundEnd::OtherRequest:
            break;
    }
    return kSnmpNoResponse;
}

}  // namespace snmp
