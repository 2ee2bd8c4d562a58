#include "console/core/StatusPolling.h"

#include <optional>
#include <vector>

#include "console/core/DeviceAccess.h"
#include "console/core/DeviceWorkers.h"
#include "console/core/Libraries.h"
#include "console/core/PrinterStatus.h"
#include "platform/lan/LanSettings.h"

namespace console {

namespace {

const char* const kStatusOid = "1.3.6.1.4.1.32473.11.5.1.1.9.1.0";
constexpr std::uint32_t kCategoryBits = 3;
constexpr std::uint32_t kIpOnly = 2;
constexpr std::uint32_t kDlc = 4;
constexpr int kRegisterThisPc = 1;

// What a poll needs of an entry, copied for a worker thread.
struct PollTarget {
    QString mac;
    bool hasCategory = false;
    bool reachable = true;
    bool overDlc = false;  // it may be reached over DLC, whose one SAP takes one exchange at a time
    std::int32_t preferred = 0;
};

PollTarget TargetOf(const PrintServerEntry& entry) {
    PollTarget target;
    target.mac = entry.mac;
    target.hasCategory = (entry.category & kCategoryBits) != 0;
    target.reachable = !(entry.ip == "0.0.0.0" && entry.protocols == kIpOnly);
    target.overDlc = (entry.protocols & kDlc) != 0 && plat::LanConfigured();
    target.preferred = static_cast<std::int32_t>(entry.preferred);
    return target;
}

// The status to give the entry, read and answered by a registration; nothing to leave it as it
// was (a print server without category). Runs on any thread.
std::optional<std::int32_t> ReadStatus(const PollTarget& target) {
    if (!target.hasCategory) {
        return std::nullopt;
    }
    QString value;
    if (!target.reachable || SnmpGet(target.mac, kStatusOid, value) != 0) {
        return kStatusUnknown;
    }
    const std::vector<QString> values = ParseReply(value);
    bool number = false;
    const qint64 status = values.empty() ? 0 : values.front().trimmed().toLongLong(&number);
    if (!number || status < INT32_MIN || status > INT32_MAX) {
        return kStatusUnknown;
    }
    const QByteArray mac = target.mac.toLatin1();
    vantorel::HelperSNMPRegisterTrapDestination(kRegisterThisPc, mac.constData(), target.preferred,
                                                target.preferred);
    return static_cast<std::int32_t>(status);
}

void Apply(PrintServerEntry& entry, std::optional<std::int32_t> status) {
    entry.status = status.value_or(entry.status);
}

bool HasAddress(const PrintServerEntry& entry, const QString& address, int kind) {
    switch (kind) {
        case kIpxAddress:
            return entry.ipx.compare(address.trimmed(), Qt::CaseInsensitive) == 0;
        case kIpAddress:
            return entry.ip == address.trimmed();
        case kMacAddress:
            return SameMac(entry.mac, address);
        case kDnsName:
            return entry.dns.compare(address.trimmed(), Qt::CaseInsensitive) == 0;
        default:
            return false;
    }
}

}  // namespace

// The print servers are asked several at a time; each result is taken, with its progress step, in
// table order.
void PollPrinterStatus(const EntryProgress& progress) {
    std::vector<std::size_t> detected;
    std::vector<PollTarget> targets;
    for (std::size_t i = 0; i < State().servers.size(); ++i) {
        const PrintServerEntry& entry = State().servers[i];
        if (entry.detected == 1) {
            detected.push_back(i);
            targets.push_back(TargetOf(entry));
        }
    }
    std::vector<std::optional<std::int32_t>> statuses(targets.size());
    ForEachOnWorkers(
        targets.size(), [&](std::size_t i) { statuses[i] = ReadStatus(targets[i]); },
        [&](std::size_t i) {
            std::vector<PrintServerEntry>& servers = State().servers;
            if (detected[i] >= servers.size() || servers[detected[i]].mac != targets[i].mac) {
                return;  // the table was read anew meanwhile
            }
            PrintServerEntry& entry = servers[detected[i]];
            if (progress) {
                progress(entry.name);
            }
            Apply(entry, statuses[i]);
        },
        [&](std::size_t i) { return targets[i].overDlc; });
}

void PollOnePrinterStatus(const QString& address, int kind) {
    for (PrintServerEntry& entry : State().servers) {
        if (HasAddress(entry, address, kind)) {
            Apply(entry, ReadStatus(TargetOf(entry)));
            return;
        }
    }
}

}  // namespace console
