#include "console/core/StatusPolling.h"

#include "console/core/DeviceAccess.h"
#include "console/core/Libraries.h"
#include "console/core/PrinterStatus.h"

namespace console {

namespace {

const char* const kStatusOid = "1.3.6.1.4.1.32473.11.5.1.1.9.1.0";
constexpr std::uint32_t kCategoryBits = 3;
constexpr std::uint32_t kIpOnly = 2;
constexpr int kRegisterThisPc = 1;

// A print server without category is left as it was; one that speaks IP alone without an address
// cannot be reached.
void PollEntry(PrintServerEntry& entry) {
    if ((entry.category & kCategoryBits) == 0) {
        return;
    }
    entry.status = kStatusUnknown;
    if (entry.ip == "0.0.0.0" && entry.protocols == kIpOnly) {
        return;
    }
    QString value;
    if (SnmpGet(entry.mac, kStatusOid, value) != 0) {
        return;
    }
    const std::vector<QString> values = ParseReply(value);
    bool number = false;
    const qint64 status = values.empty() ? 0 : values.front().trimmed().toLongLong(&number);
    if (!number || status < INT32_MIN || status > INT32_MAX) {
        return;
    }
    entry.status = static_cast<std::int32_t>(status);
    const QByteArray mac = entry.mac.toLatin1();
    const auto preferred = static_cast<std::int32_t>(entry.preferred);
    vantorel::HelperSNMPRegisterTrapDestination(kRegisterThisPc, mac.constData(), preferred, preferred);
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

void PollPrinterStatus(const EntryProgress& progress) {
    for (PrintServerEntry& entry : State().servers) {
        if (entry.detected != 1) {
            continue;
        }
        if (progress) {
            progress(entry.name);
        }
        PollEntry(entry);
    }
}

void PollOnePrinterStatus(const QString& address, int kind) {
    for (PrintServerEntry& entry : State().servers) {
        if (HasAddress(entry, address, kind)) {
            PollEntry(entry);
            return;
        }
    }
}

}  // namespace console
