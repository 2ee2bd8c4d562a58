#include "console/core/StatusPolling.h"

#include <optional>
#include <vector>

#include "console/core/DeviceAccess.h"
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

// What a poll needs of an entry, copied for a worker thread, and what the worker found.
struct StatusPoll::Polled {
    std::size_t index;
    PollTarget target;
    std::optional<std::int32_t> status;
};

StatusPoll::StatusPoll()
    : work_([this](std::size_t i) {
          Polled* polled = nullptr;
          {
              const std::lock_guard lock(mutex_);
              polled = polled_[i].get();
          }
          polled->status = ReadStatus(polled->target);
      }) {}

StatusPoll::~StatusPoll() = default;

void StatusPoll::Add(std::size_t index) {
    const PrintServerEntry& entry = State().servers[index];
    if (entry.detected != 1) {
        return;
    }
    const PollTarget target = TargetOf(entry);
    {
        const std::lock_guard lock(mutex_);
        polled_.push_back(std::make_unique<Polled>(Polled{index, target, std::nullopt}));
    }
    work_.Add(target.overDlc);
}

// The print servers are asked several at a time; each result is taken, with its progress step, in
// table order.
void StatusPoll::Finish(const EntryProgress& progress) {
    work_.Finish([&](std::size_t i) {
        const Polled& polled = *polled_[i];
        std::vector<PrintServerEntry>& servers = State().servers;
        if (polled.index >= servers.size() || servers[polled.index].mac != polled.target.mac) {
            return;  // the table was read anew meanwhile
        }
        PrintServerEntry& entry = servers[polled.index];
        if (progress) {
            progress(entry.name);
        }
        Apply(entry, polled.status);
    });
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
