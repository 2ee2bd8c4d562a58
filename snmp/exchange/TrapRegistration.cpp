#include "snmp/exchange/TrapRegistration.h"

#include <algorithm>
#include <random>
#include <string>

#include "snmp/exchange/LocalAddresses.h"
#include "snmp/exchange/RegistrationRequests.h"
#include "snmp/exchange/SnmpTransaction.h"
#include "snmp/request/RequestEncoder.h"
#include "snmp/request/SnmpResult.h"
#include "transport/DeviceRecord.h"
#include "transport/DeviceStoreReader.h"

namespace snmp {

namespace {

constexpr std::size_t kOidRoom = 512;
constexpr std::size_t kValueRoom = 256;

// A new row index for every registration, so that two registrations never share a row. The source
// is the thread's own, opened once: a console registers with ten thousand print servers at a time.
std::string NewRowIndex() {
    thread_local std::random_device source;
    std::array<std::uint8_t, 6> bytes{};
    std::generate(bytes.begin(), bytes.end(), [] { return static_cast<std::uint8_t>(source()); });
    return RowIndexText(bytes);
}

std::int32_t RunSet(const char* adapterName, const SetRequest& request) {
    std::string oidList = request.oidList;
    std::string values = request.values;
    oidList.resize(std::max(kOidRoom, oidList.size() + 1), '\0');
    values.resize(std::max(kValueRoom, values.size() + 1), '\0');
    Transaction set;
    set.adapterName = adapterName;
    set.operation = kOperationSet;
    set.oidList = oidList.data();
    set.oidSize = oidList.size();
    set.values = values.data();
    set.valueSize = values.size();
    set.count = request.count;
    std::size_t answerSize = 0;
    return RunTransaction(set, answerSize);
}

}  // namespace

std::int32_t RegisterTrapDestination(std::int32_t mode, const char* adapterName) {
    DeviceRecord record;
    if (mode != kRegisterThisPc || HelperGetRegNPCDetails(adapterName, record) != kTransportOk) {
        return kSnmpTrapRegistration;
    }
    const LocalAddresses local = FindLocalAddresses(record.protocolMask);
    if (local.mask == 0) {
        return kSnmpTrapRegistration;
    }
    const std::string row = NewRowIndex();
    if (RunSet(adapterName, RowStatusSet(row, kRowCreate)) != kSnmpOk) {
        return kSnmpTrapRegistration;
    }
    const bool addressed =
        RunSet(adapterName, AddressColumnsSet(row, local, record.preferredProtocol)) == kSnmpOk;
    const std::int32_t finished = RunSet(adapterName, RowStatusSet(row, addressed ? kRowActive : kRowDelete));
    return addressed ? finished : kSnmpTrapRegistration;
}

}  // namespace snmp
