#include "simulator/ServiceAdvertising.h"

#include <algorithm>

#include "simulator/CardOids.h"

namespace sim {

namespace {

constexpr uint16_t GeneralQuery = 1;
constexpr uint16_t GeneralResponse = 2;
constexpr uint16_t NearestQuery = 3;
constexpr uint16_t NearestResponse = 4;
constexpr uint16_t AnyServerType = 0xFFFF;
constexpr size_t QuerySize = 4;
constexpr size_t NameField = 48;

void Put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

uint16_t Get16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

}  // namespace

std::optional<std::vector<uint8_t>> AnswerServiceQuery(const Card& card, std::span<const uint8_t> query) {
    if (query.size() < QuerySize) {
        return std::nullopt;
    }
    uint16_t kind = Get16(query, 0);
    uint16_t serverType = Get16(query, 2);
    if ((kind != GeneralQuery && kind != NearestQuery) ||
        (serverType != PrintServerType && serverType != AnyServerType)) {
        return std::nullopt;
    }
    std::vector<uint8_t> answer;
    Put16(answer, kind == GeneralQuery ? GeneralResponse : NearestResponse);
    Put16(answer, PrintServerType);
    std::string name = card.Objects().Get(SysName)->bytes.substr(0, NameField - 1);
    name.resize(NameField, '\0');
    answer.insert(answer.end(), name.begin(), name.end());
    const CardDescription& description = card.Description();
    answer.insert(answer.end(), description.ipxNetwork.begin(), description.ipxNetwork.end());
    answer.insert(answer.end(), description.mac.begin(), description.mac.end());
    Put16(answer, SnmpIpxSocket);
    Put16(answer, 1);  // hops
    return answer;
}

}  // namespace sim
