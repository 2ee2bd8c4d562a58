#include "confighelper/DetailQueries.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "confighelper/DeviceDetails.h"
#include "confighelper/DeviceStore.h"
#include "confighelper/LibrarySettings.h"
#include "transport/ProtocolMask.h"

namespace {

// Sends between two looks at the arriving answers, so that no socket queue overflows.
constexpr std::size_t kSendBatch = 64;

// An IP-only print server without an address cannot be asked; it keeps what its answer told.
bool Unreachable(const DeviceRecord& record) {
    return record.protocolMask == kProtocolIp && strcasecmp(record.ipAddress, "0.0.0.0") == 0;
}

// The preferred protocol, else the first of IP, IPX and DLC that the record speaks (as a device
// channel picks it).
ProtocolMask ProtocolToAsk(const DeviceRecord& record) {
    for (ProtocolMask protocol : {kProtocolIpx, kProtocolIp, kProtocolDlc}) {
        if (record.preferredProtocol == protocol) {
            return protocol;
        }
    }
    for (ProtocolMask protocol : {kProtocolIp, kProtocolIpx, kProtocolDlc}) {
        if ((record.protocolMask & protocol) != 0) {
            return protocol;
        }
    }
    return kProtocolIp;
}

bool Answered(const Answer& answer) {
    return answer != nullptr && answer->ErrorStatus == 0;
}

}  // namespace

bool DetailQueries::OnAnswer(Answer& answer) {
    const auto found = pending_.find(answer->RequestId);
    if (found == pending_.end()) {
        return false;
    }
    found->second->answer = std::move(answer);
    pending_.erase(found);
    return true;
}

DetailQueries::Question DetailQueries::MakeQuestion(std::size_t record, const std::string& oids) {
    Question question;
    question.record = record;
    question.requestId = plat::NextRequestId();
    question.request = EncodeRequest(kPduGet, question.requestId, GetBindings(oids));
    return question;
}

void DetailQueries::Send(const Question& question) {
    const DeviceRecord& record = *list_.GetAt(question.record);
    const auto length = static_cast<std::uint32_t>(question.request.size());
    switch (ProtocolToAsk(record)) {
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
}

void DetailQueries::Ask(std::vector<Question>& questions) {
    const LibrarySettings& settings = CurrentSettings();
    const std::uint32_t rounds = settings.udpTotalRetries + 1;
    const std::uint32_t waitMs = std::max<std::uint32_t>(settings.udpTimeOutInterval, 1) * 1000;
    for (Question& question : questions) {
        if (!question.request.empty()) {
            pending_[question.requestId] = &question;
        }
    }
    for (std::uint32_t round = 0; round < rounds && !pending_.empty(); ++round) {
        std::size_t sent = 0;
        for (Question& question : questions) {
            if (pending_.count(question.requestId) == 0) {
                continue;
            }
            Send(question);
            if (++sent % kSendBatch == 0) {
                links_.DrainAll();
            }
        }
        if (!links_.PumpUntil(plat::TickCount() + waitMs, [this] { return pending_.empty(); })) {
            break;
        }
        links_.DrainAll();
    }
    pending_.clear();
}

void DetailQueries::Run() {
    std::vector<Question> identities;
    for (std::size_t i = 0; i < list_.GetCount(); ++i) {
        if (!Unreachable(*list_.GetAt(i))) {
            identities.push_back(MakeQuestion(i, kIdentityOids));
        }
    }
    Ask(identities);

    std::vector<Question> tcpIpStates;
    std::vector<DeviceIdentity> known(list_.GetCount());
    std::vector<bool> failed(list_.GetCount(), false);
    for (Question& question : identities) {
        DeviceRecord& record = *list_.GetAt(question.record);
        if (!Answered(question.answer)) {
            // Once more through a device channel, which tries the print server's other protocols too
            // and finds them in the store.
            StoreDeviceRecord(record);
            failed[question.record] = QueryDeviceDetails(record) != kHelperOk;
            continue;
        }
        known[question.record] = ReadDeviceIdentity(*question.answer);
        ApplyDeviceIdentity(known[question.record], record);
        tcpIpStates.push_back(MakeQuestion(question.record, kTcpIpStateOid));
    }
    Ask(tcpIpStates);
    for (Question& question : tcpIpStates) {
        ApplyTcpIpState(*list_.GetAt(question.record), known[question.record],
                        Answered(question.answer) ? question.answer.get() : nullptr);
    }

    for (std::size_t i = list_.GetCount(); i-- > 0;) {
        DeviceRecord& record = *list_.GetAt(i);
        if (failed[i]) {
            list_.RemoveAt(i);
        } else if (std::strcmp(record.ipAddress, "0.0.0.0") != 0) {
            record.category = 2;
        }
    }
}
