#include "confighelper/DetailQueries.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "confighelper/DeviceDetails.h"
#include "confighelper/LibrarySettings.h"
#include "transport/ProtocolChoice.h"
#include "transport/ProtocolMask.h"

namespace {

// Questions out at once over one protocol: enough to keep many print servers busy, few enough that
// their answers fit the queues that hold them while the thread handles others. The DLC adapter's
// receive pool holds some five hundred buffers of 256 bytes; a socket's queue, thousands of answers.
constexpr std::size_t kInFlight = 1024;
constexpr std::size_t kInFlightDlc = 48;

// An IP-only print server without an address cannot be asked; it keeps what its answer told.
bool Unreachable(const DeviceRecord& record) {
    return record.protocolMask == kProtocolIp && strcasecmp(record.ipAddress, "0.0.0.0") == 0;
}

// The protocols a device channel would try for the record, in its order.
std::vector<std::uint8_t> ProtocolsToTry(const DeviceRecord& record) {
    std::vector<std::uint8_t> protocols;
    for (std::uint8_t protocol = ChooseProtocol(record);
         protocol != 0 && std::find(protocols.begin(), protocols.end(), protocol) == protocols.end();
         protocol = NextProtocol(protocol, record.protocolMask)) {
        protocols.push_back(protocol);
    }
    return protocols;
}

}  // namespace

void DetailQueries::Ask(std::size_t record, Topic topic) {
    Question question;
    question.record = record;
    question.topic = topic;
    question.protocols = ProtocolsToTry(*list_.GetAt(record));
    const std::int32_t requestId = plat::NextRequestId();
    question.request = EncodeRequest(kPduGet, requestId,
                                     GetBindings(topic == Topic::kIdentity ? kIdentityOids : kTcpIpStateOid));
    const std::uint8_t first =
        question.protocols.empty() ? std::uint8_t{kProtocolIp} : question.protocols.front();
    questions_[requestId] = std::move(question);
    LaneOf(first).unsent.push_back(requestId);
}

DetailQueries::Lane& DetailQueries::LaneOf(std::uint8_t protocol) {
    return lanes_[protocol == kProtocolIpx ? 0 : protocol == kProtocolDlc ? 2 : 1];
}

bool DetailQueries::RoomToSend() const {
    return std::any_of(std::begin(lanes_), std::end(lanes_), [](const Lane& lane) { return lane.Room(); });
}

bool DetailQueries::Done() const {
    return std::all_of(std::begin(lanes_), std::end(lanes_),
                       [](const Lane& lane) { return lane.unsent.empty() && lane.out == 0; });
}

void DetailQueries::SendNext(std::int32_t requestId, Question& question) {
    const std::size_t attempt = question.sends / attemptsPerProtocol_;
    if (question.request.empty() || attempt >= question.protocols.size()) {
        GiveUp(question);
        return;
    }
    const std::uint8_t protocol = question.protocols[attempt];
    if (question.sentOver != protocol) {
        if (question.sentOver != 0) {
            --LaneOf(question.sentOver).out;
        }
        ++LaneOf(protocol).out;
        question.sentOver = protocol;
    }
    const DeviceRecord& record = *list_.GetAt(question.record);
    const auto length = static_cast<std::uint32_t>(question.request.size());
    switch (protocol) {
        case kProtocolIpx:
            links_.Transport(DetectionLinks::kIpxRequest)
                .SendToDefault(question.request.data(), length, record.ipxAddress);
            break;
        case kProtocolDlc:
            links_.Transport(DetectionLinks::kDlc)
                .SendToDefault(question.request.data(), length, record.macAddress);
            break;
        default:
            links_.Transport(DetectionLinks::kUdp)
                .SendToDefault(question.request.data(), length, record.ipAddress);
            break;
    }
    ++question.sends;
    waits_.push_back(Wait{plat::TickCount() + waitMs_, requestId, question.sends});
}

void DetailQueries::Expire() {
    const std::uint32_t now = plat::TickCount();
    while (!waits_.empty() && static_cast<std::int32_t>(waits_.front().due - now) <= 0) {
        const Wait wait = waits_.front();
        waits_.pop_front();
        Question& question = questions_.at(wait.requestId);
        if (question.state == State::kOpen && question.sends == wait.send) {
            SendNext(wait.requestId, question);
        }
    }
}

bool DetailQueries::OnAnswer(Answer& answer) {
    const auto found = questions_.find(answer->RequestId);
    if (found == questions_.end()) {
        return false;
    }
    Question& question = found->second;
    if (question.state == State::kAnswered) {
        return true;  // the answer to a copy sent again
    }
    // An answer to a question given up on is taken as well: the print server was only slow.
    Settle(question, State::kAnswered);
    Apply(question, answer.get());
    return true;
}

void DetailQueries::GiveUp(Question& question) {
    Settle(question, State::kGaveUp);
    Apply(question, nullptr);
}

void DetailQueries::Settle(Question& question, State state) {
    if (question.state == State::kOpen && question.sentOver != 0) {
        --LaneOf(question.sentOver).out;
    }
    question.state = state;
}

void DetailQueries::Apply(const Question& question, const ReqParam* answer) {
    if (answer != nullptr && answer->ErrorStatus != 0) {
        answer = nullptr;
    }
    DeviceRecord record = *list_.GetAt(question.record);
    if (question.topic == Topic::kTcpIpState) {
        ApplyTcpIpState(record, identities_[question.record], answer);
        list_.SetAt(question.record, record);
        return;
    }
    dropped_[question.record] = answer == nullptr;
    if (answer == nullptr) {
        return;
    }
    identities_[question.record] = ReadDeviceIdentity(*answer);
    ApplyDeviceIdentity(identities_[question.record], record);
    list_.SetAt(question.record, record);
    Ask(question.record, Topic::kTcpIpState);
}

void DetailQueries::Run() {
    const LibrarySettings& settings = CurrentSettings();
    attemptsPerProtocol_ = settings.udpTotalRetries + 1;
    waitMs_ = std::max<std::uint32_t>(settings.udpTimeOutInterval, 1) * 1000;
    identities_.assign(list_.GetCount(), DeviceIdentity{});
    dropped_.assign(list_.GetCount(), false);
    for (std::size_t i = 0; i < list_.GetCount(); ++i) {
        if (!Unreachable(*list_.GetAt(i))) {
            Ask(i, Topic::kIdentity);
        }
    }
    lanes_[0].limit = kInFlight;
    lanes_[1].limit = kInFlight;
    lanes_[2].limit = kInFlightDlc;
    while (!Done()) {
        for (Lane& lane : lanes_) {
            while (lane.Room()) {
                const std::int32_t requestId = lane.unsent.front();
                lane.unsent.pop_front();
                SendNext(requestId, questions_.at(requestId));
            }
        }
        const std::uint32_t deadline = waits_.empty() ? plat::TickCount() : waits_.front().due;
        if (!links_.PumpUntil(deadline, [this] { return RoomToSend() || Done(); })) {
            break;
        }
        // The waits are judged on all that has arrived, also the answers whose notices are still on
        // their way: a busy thread would otherwise ask again, or give up on, print servers that answered.
        links_.DrainAll();
        Expire();
    }
    for (std::size_t i = list_.GetCount(); i-- > 0;) {
        if (dropped_[i]) {
            list_.RemoveAt(i);
        } else if (std::strcmp(list_.GetAt(i)->ipAddress, "0.0.0.0") != 0) {
            list_.GetAt(i)->category = 2;
        }
    }
    questions_.clear();
}
