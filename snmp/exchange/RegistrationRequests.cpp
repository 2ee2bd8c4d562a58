#include "snmp/exchange/RegistrationRequests.h"

#include "transport/ProtocolMask.h"

namespace snmp {

namespace {

// The trap-destination table's columns, each followed by the row index.
constexpr const char* kColumnPrefix = "1.3.6.1.4.1.32473.11.5.1.12.6.2.4.1.";
constexpr int kIpColumn = 2;
constexpr int kIpxColumn = 3;
constexpr int kPreferredColumn = 4;
constexpr int kMaskColumn = 5;
constexpr int kStatusColumn = 7;
constexpr std::size_t kIpxNetworkBytes = 4;

void AddBinding(SetRequest& request, int column, const std::string& rowIndex, const std::string& item) {
    if (request.count != 0) {
        request.oidList += ',';
        request.values += ',';
    }
    request.oidList += kColumnPrefix + std::to_string(column) + "." + rowIndex;
    request.values += item;
    ++request.count;
}

std::string IntegerItem(std::int32_t value) {
    return "1," + std::to_string(value);
}

std::string DottedQuad(const std::array<std::uint8_t, 4>& ip) {
    return std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." + std::to_string(ip[2]) + "." +
           std::to_string(ip[3]);
}

}  // namespace

std::string RowIndexText(const std::array<std::uint8_t, 6>& bytes) {
    std::string text;
    for (std::uint8_t byte : bytes) {
        text += (text.empty() ? "" : ".") + std::to_string(byte);
    }
    return text;
}

SetRequest RowStatusSet(const std::string& rowIndex, RegistrationRowStatus status) {
    SetRequest request;
    AddBinding(request, kStatusColumn, rowIndex, IntegerItem(status));
    return request;
}

SetRequest AddressColumnsSet(const std::string& rowIndex, const LocalAddresses& local,
                             std::uint8_t preferredProtocol) {
    SetRequest request;
    if ((local.mask & kProtocolIp) != 0) {
        AddBinding(request, kIpColumn, rowIndex, "3," + DottedQuad(local.ip));
    }
    if ((local.mask & kProtocolIpx) != 0) {
        const std::string network(local.ipx.begin(), local.ipx.begin() + kIpxNetworkBytes);
        AddBinding(request, kIpxColumn, rowIndex, "2," + std::to_string(kIpxNetworkBytes) + "," + network);
    }
    AddBinding(request, kMaskColumn, rowIndex, IntegerItem(local.mask));
    AddBinding(request, kPreferredColumn, rowIndex, IntegerItem(preferredProtocol));
    return request;
}

}  // namespace snmp
