// The exports that talk to a print server: the exchange, object groups, trap registration and
// keep-alive.
#include <algorithm>
#include <climits>
#include <string>

#include "platform/services/ExportGuard.h"
#include "snmp/exchange/ObjectGroups.h"
#include "snmp/exchange/SnmpTransaction.h"
#include "snmp/exchange/TrapRegistration.h"
#include "snmp/exports/Vantorel.h"
#include "snmp/request/RequestEncoder.h"
#include "snmp/request/SnmpResult.h"

namespace {

constexpr const char* kPrinterStatusOid = "1.3.6.1.4.1.32473.11.5.1.1.9.1.0";

std::size_t Capacity(std::int32_t size) {
    return size > 0 ? static_cast<std::size_t>(size) : 0;
}

std::int32_t Exchange(const char* adapterName, std::int32_t operation, char* oidList, std::int32_t oidLength,
                      char* valueText, std::int32_t* valueSize, std::int32_t count, snmp::OctetForm octets) {
    snmp::Transaction transaction;
    transaction.adapterName = adapterName;
    transaction.operation = operation;
    transaction.oidList = oidList;
    transaction.oidSize = Capacity(oidLength);
    transaction.values = valueText;
    transaction.valueSize = valueSize != nullptr ? Capacity(*valueSize) : 0;
    transaction.count = count;
    transaction.octets = octets;
    std::size_t answerSize = transaction.valueSize;
    const std::int32_t result = snmp::RunTransaction(transaction, answerSize);
    if (valueSize != nullptr) {
        *valueSize = static_cast<std::int32_t>(std::min<std::size_t>(answerSize, INT32_MAX));
    }
    return result;
}

}  // namespace

extern "C" {

std::int32_t HelperSNMPTransact(const char* adapterName, std::int32_t operation, char* oidList,
                                std::int32_t oidLength, char* valueText, std::int32_t* valueSize,
                                std::int32_t count) {
    return plat::GuardExport(kSnmpNoResponse, kSnmpNoMemory, [&] {
        return Exchange(adapterName, operation, oidList, oidLength, valueText, valueSize, count,
                        snmp::OctetForm::Bytes);
    });
}

std::int32_t HelperSNMPTransactAscii(const char* adapterName, std::int32_t operation, char* oidList,
                                     std::int32_t oidLength, char* valueText, std::int32_t* valueSize,
                                     std::int32_t count) {
    return plat::GuardExport(kSnmpNoResponse, kSnmpNoMemory, [&] {
        return Exchange(adapterName, operation, oidList, oidLength, valueText, valueSize, count,
                        snmp::OctetForm::Hex);
    });
}

std::int32_t HelperGetSNMPObjects(const char* adapterName, std::int32_t groupIndex, char* valueText,
                                  std::int32_t* valueSize) {
    return plat::GuardExport(kSnmpNoResponse, kSnmpNoMemory, [&] {
        const snmp::ObjectGroup* group = snmp::FindObjectGroup(groupIndex);
        if (group == nullptr) {
            return static_cast<std::int32_t>(kSnmpBadVarBinds);
        }
        // The exchange writes the answer's identifiers over its OidList: a copy keeps the group intact.
        // Its terminator is a character of its own, which the answer may overwrite.
        std::string oidList = group->oidList + '\0';
        return Exchange(adapterName, snmp::kOperationGet, oidList.data(),
                        static_cast<std::int32_t>(oidList.size()), valueText, valueSize, group->count,
                        snmp::OctetForm::Bytes);
    });
}

std::int32_t HelperSNMPRegisterTrapDestination(std::int32_t mode, const char* adapterName, std::int32_t,
                                               std::int32_t) {
    return plat::GuardExport(kSnmpTrapRegistration, kSnmpNoMemory,
                             [&] { return snmp::RegisterTrapDestination(mode, adapterName); });
}

std::int32_t HelperTrapKeepAlive(const char* adapterName) {
    return plat::GuardExport(kSnmpNoMemory, [&] {
        std::string oid = kPrinterStatusOid;
        char answer[1] = {};
        snmp::Transaction keepAlive;
        keepAlive.adapterName = adapterName;
        keepAlive.operation = snmp::kOperationGet;
        keepAlive.oidList = oid.data();
        keepAlive.oidSize = oid.size() + 1;
        keepAlive.values = answer;
        keepAlive.valueSize = sizeof answer;
        keepAlive.count = 1;
        keepAlive.waitForAnswer = false;
        std::size_t unused = 0;
        return snmp::RunTransaction(keepAlive, unused);
    });
}

}  // extern "C"
