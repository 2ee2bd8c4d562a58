#include "console/core/PrintServerTable.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

#include "console/core/PrinterStatus.h"
#include "console/core/QueuePump.h"
#include "console/core/StringTable.h"
#include "platform/store/StoreBatch.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace console {

namespace {

constexpr int kUnknownName = 305;
constexpr std::uint32_t kCategoryBits = 3;
constexpr std::uint32_t kPerPort = 4;
constexpr std::uint32_t kAddedByHand = 1;
constexpr std::uint32_t kEntriesPerRead = 500;

std::string EntryKeyPath(const QString& mac) {
    return std::string(plat::kAdapterOnlyKey) + "\\" + mac.toStdString();
}

template <class Key>
QString Text(const Key& key, const char* name) {
    return QString::fromStdString(key.ReadText(name).value_or("")).trimmed();
}

PrintServerEntry ReadEntry(const plat::StoreSubkeyReader& key) {
    PrintServerEntry entry;
    entry.category = key.ReadNumber("Category").value_or(0);
    entry.preferred = key.ReadNumber("pProtocol").value_or(0);
    entry.protocols = key.ReadNumber("cProtocols").value_or(0);
    entry.detected = key.ReadNumber("Detected").value_or(0);
    entry.reportedNew = entry.detected == 1 && (entry.category & kAddedByHand) != 0;
    entry.ip = Text(key, "IP Address");
    entry.ipx = Text(key, "IPX Address");
    entry.mac = Text(key, "MAC Address");
    entry.name = Text(key, "Print Server Name");
    entry.description = Text(key, "Print Server Description");
    entry.dns = Text(key, "DNS Name");
    if (entry.name.isEmpty()) {
        entry.name = LoadString(kUnknownName);
    }
    return entry;
}

// A print server that still has the name it came with and no IP address counts as added by hand.
bool HasDefaultIdentity(const PrintServerEntry& entry) {
    return entry.name == entry.mac.toLower() + State().makerAbbreviation && entry.ip == "0.0.0.0" &&
           entry.category != kAddedByHand;
}

// The table's next entry, read from the store.
void AddEntry(const PrintServerEntry& entry, const EntryProgress& progress, const EntryRead& read) {
    if (entry.detected == 1 && progress) {
        progress(entry.name);
    }
    State().servers.push_back(entry);
    if (HasDefaultIdentity(entry)) {
        StoreRecordIO(entry.mac, entry.name, entry.description, entry.ip, kAddedByHand, kStatusUnknown);
    }
    if (read) {
        read(State().servers.size() - 1);
    }
}

// The hardware address each port of the port map names.
std::vector<QString> PortAdapters() {
    std::vector<QString> adapters;
    const auto ports = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kAdapterPortsKey);
    if (!ports) {
        return adapters;
    }
    for (const std::string& port : ports->SubkeyNames()) {
        const auto key = plat::StoreKeyHandle::Open(ports->Get(), port.c_str());
        if (key) {
            adapters.push_back(Text(*key, "MAC Address"));
        }
    }
    return adapters;
}

QString SortKey(const PrinterRow& row, int column) {
    switch (column) {
        case 1:
            return row.name;
        case 2:
            return row.description;
        case 3:
            return StatusCodeText(row.status);
        case 4:
            return row.ip;
        case 5:
            return row.ipx;
        case 6:
            return row.mac;
        case 7:
            return row.portName;
        case 8:
            return row.windowsPrinter;
        default:
            return {};
    }
}

bool EmptyOrMatches(const QString& text, const QString& pattern, Qt::CaseSensitivity sensitivity) {
    return text.isEmpty() || MatchesPattern(text, pattern, sensitivity);
}

// Pattern matching from the given positions, with backtracking over '*'.
bool MatchFrom(const QString& text, qsizetype t, const QString& pattern, qsizetype p,
               Qt::CaseSensitivity cs) {
    while (p < pattern.size()) {
        const QChar wanted = pattern[p];
        if (wanted == '*') {
            for (qsizetype rest = t; rest <= text.size(); ++rest) {
                if (MatchFrom(text, rest, pattern, p + 1, cs)) {
                    return true;
                }
            }
            return false;
        }
        if (t >= text.size()) {
            return false;
        }
        const QChar c = text[t];
        if (wanted == '?') {
            ++p;
        } else if (wanted == '#') {
            if (!c.isDigit()) {
                return false;
            }
            ++p;
        } else if (wanted == '[') {
            const qsizetype close = pattern.indexOf(']', p + 1);
            if (close < 0) {
                return false;
            }
            QString list = pattern.mid(p + 1, close - p - 1);
            const bool negate = list.startsWith('!');
            if (negate) {
                list.remove(0, 1);
            }
            bool inList = false;
            for (qsizetype i = 0; i < list.size(); ++i) {
                const bool range = i + 2 < list.size() && list[i + 1] == '-';
                const QChar low = list[i];
                const QChar high = range ? list[i + 2] : low;
                const QChar x = cs == Qt::CaseSensitive ? c : c.toUpper();
                const QChar lo = cs == Qt::CaseSensitive ? low : low.toUpper();
                const QChar hi = cs == Qt::CaseSensitive ? high : high.toUpper();
                inList = inList || (x >= lo && x <= hi);
                i += range ? 2 : 0;
            }
            if (inList == negate) {
                return false;
            }
            p = close + 1;
        } else {
            if (cs == Qt::CaseSensitive ? c != wanted : c.toCaseFolded() != wanted.toCaseFolded()) {
                return false;
            }
            ++p;
        }
        ++t;
    }
    return t == text.size();
}

// The addresses of a list (separated by blanks or ';') in the form MacKey gives.
QSet<QString> MacSet(const QString& list) {
    QSet<QString> macs;
    for (const QString& mac : list.split(QRegularExpression("[\\s;]+"), Qt::SkipEmptyParts)) {
        macs.insert(MacKey(mac));
    }
    return macs;
}

// The filter of the display options, read once for a whole table: the Printer Filter's list of
// chosen addresses may be long.
class RowFilter {
  public:
    explicit RowFilter(const DisplayOptions& options)
        : kind_(options.filterKind), pattern_(options.filterText) {
        if (kind_ == kChosenFilter) {
            chosen_ = MacSet(pattern_);
        }
        bool number = false;
        status_ = pattern_.trimmed().toInt(&number);
        statusGiven_ = number;
    }

    bool Passes(const PrinterRow& row) const {
        switch (kind_) {
            case 0:
                return true;
            case 1:
                return MatchesPattern(row.name, pattern_, Qt::CaseSensitive);
            case 2:
                return EmptyOrMatches(row.ip, pattern_, Qt::CaseSensitive);
            case 3:
                return EmptyOrMatches(row.ipx, pattern_, Qt::CaseInsensitive);
            case 4:
                return EmptyOrMatches(row.mac, pattern_, Qt::CaseInsensitive);
            case 5:
                return statusGiven_ && row.status == status_;
            case kChosenFilter:
                return chosen_.contains(MacKey(row.mac));
            default:
                return false;
        }
    }

  private:
    static constexpr int kChosenFilter = 6;
    int kind_;
    QString pattern_;
    QSet<QString> chosen_;
    int status_ = 0;
    bool statusGiven_ = false;
};

// The ports and queues of each print server, by address, for the list's last two columns.
struct InstalledNames {
    QStringList ports;
    QStringList printers;
};
using InstalledByMac = QHash<QString, InstalledNames>;

InstalledByMac InstalledPrinterNames() {
    InstalledByMac names;
    for (const InstalledPrinter& installed : State().installedPrinters) {
        InstalledNames& found = names[MacKey(installed.mac)];
        if (!found.ports.contains(installed.port)) {
            found.ports << installed.port;
        }
        found.printers << installed.printer;
    }
    return names;
}

PrinterRow MakePrinterRow(const PrintServerEntry& entry, const InstalledByMac& installed) {
    PrinterRow row;
    row.name = entry.name;
    row.description = entry.description;
    row.status = entry.status;
    row.ip = entry.ip;
    row.ipx = entry.ipx;
    row.mac = entry.mac;
    row.category = entry.category;
    row.detected = entry.detected;
    const auto names = installed.isEmpty() ? installed.end() : installed.find(MacKey(entry.mac));
    if (names != installed.end()) {
        row.portName = names->ports.join(", ");
        row.windowsPrinter = names->printers.join(", ");
    }
    return row;
}

}  // namespace

bool MatchesPattern(const QString& text, const QString& pattern, Qt::CaseSensitivity sensitivity) {
    return MatchFrom(text, 0, pattern, 0, sensitivity);
}

bool InMacList(const QString& mac, const QString& list) {
    return MacSet(list).contains(MacKey(mac));
}

void LoadPrintServerTable(const EntryProgress& progress, const EntryRead& read, bool afterDetection) {
    ConsoleState& state = State();
    const std::vector<PrintServerEntry> before = std::move(state.servers);
    state.servers.clear();
    // The entries come with their values, some hundreds at a time: ten thousand entries read one value
    // at a time took a fifth of a second, and read at once they kept the window unpainted. One batch
    // for the whole walk, so that it reads the store of one moment.
    const plat::StoreBatch batch;
    const auto store = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kAdapterOnlyKey);
    std::vector<plat::StoreSubkeyValues> subkeys;
    std::string after;
    do {
        subkeys = store ? store->Subkeys(after, kEntriesPerRead) : std::vector<plat::StoreSubkeyValues>{};
        for (const plat::StoreSubkeyValues& subkey : subkeys) {
            AddEntry(ReadEntry(plat::StoreSubkeyReader(subkey)), progress, read);
        }
        after = subkeys.empty() ? after : subkeys.back().name;
        QueuePump::KeepPainted();
    } while (subkeys.size() == kEntriesPerRead);
    // What was known of each print server, by address; of two with one address the later counts.
    QHash<QString, const PrintServerEntry*> known;
    known.reserve(static_cast<qsizetype>(before.size()));
    for (const PrintServerEntry& old : before) {
        known.insert(MacKey(old.mac), &old);
    }
    for (PrintServerEntry& entry : state.servers) {
        const PrintServerEntry* old = known.value(MacKey(entry.mac));
        if (old != nullptr) {
            entry.notify = old->notify;
            entry.status = old->status;
        }
        if (!afterDetection) {
            entry.reportedNew = old != nullptr && old->reportedNew;
        }
    }
}

void SaveCategory() {
    const std::vector<QString> adapters = PortAdapters();
    for (PrintServerEntry& entry : State().servers) {
        const auto ports = std::count_if(adapters.begin(), adapters.end(),
                                         [&](const QString& mac) { return SameMac(mac, entry.mac); });
        const std::uint32_t category =
            (entry.category & kCategoryBits) + kPerPort * static_cast<std::uint32_t>(ports);
        if (category == entry.category) {
            continue;
        }
        entry.category = category;
        if (const auto key = plat::StoreKeyHandle::Open(
                plat::kStoreLocalMachine, EntryKeyPath(entry.mac).c_str(), plat::kStoreReadWrite)) {
            key->WriteNumber("Category", category);
        }
    }
}

void StoreRecordIO(const QString& mac, const QString& name, const QString& description, const QString& ip,
                   std::uint32_t category, std::int32_t status) {
    if (PrintServerEntry* entry = FindServer(mac)) {
        entry->name = name;
        entry->description = description;
        entry->ip = ip.isEmpty() ? entry->ip : ip;
        entry->category = category;
        entry->status = status == kStatusUnknown ? entry->status : status;
    }
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, EntryKeyPath(mac).c_str(),
                                                plat::kStoreReadWrite);
    if (!key) {
        return;
    }
    const std::uint32_t stored = key->ReadNumber("Category").value_or(0);
    key->WriteNumber("Category", (stored & ~kCategoryBits) | (category & kCategoryBits));
    key->WriteText("Print Server Description", description.toStdString());
    key->WriteText("Print Server Name", name.toStdString());
    if (!ip.isEmpty()) {
        key->WriteText("IP Address", ip.toStdString());
    }
}

bool MatchesFilter(const PrinterRow& row) {
    return RowFilter(State().options).Passes(row);
}

void BuildPrinterRows() {
    ConsoleState& state = State();
    state.rowsRebuilding = true;
    state.rows.clear();
    state.currentRow = -1;
    const InstalledByMac installed = InstalledPrinterNames();
    const RowFilter filter(state.options);
    for (const PrintServerEntry& entry : state.servers) {
        PrinterRow row = MakePrinterRow(entry, installed);
        if (filter.Passes(row)) {
            state.rows.push_back(std::move(row));
        }
    }
    state.rowsRebuilding = false;
}

// Each row's key is made once: ten thousand rows are compared some 130,000 times.
void SortPrinterRows() {
    ConsoleState& state = State();
    const int column = state.options.sortColumn;
    if (column < 1 || column > static_cast<int>(kColumnCount)) {
        return;
    }
    state.rowsRebuilding = true;
    std::vector<std::pair<QString, std::size_t>> keys;
    keys.reserve(state.rows.size());
    for (std::size_t i = 0; i < state.rows.size(); ++i) {
        keys.emplace_back(SortKey(state.rows[i], column).toUpper(), i);
    }
    const bool descending = state.options.sortDescending;
    std::stable_sort(keys.begin(), keys.end(), [descending](const auto& a, const auto& b) {
        const int order = a.first.compare(b.first);
        return descending ? order > 0 : order < 0;
    });
    std::vector<PrinterRow> sorted;
    sorted.reserve(keys.size());
    for (const auto& key : keys) {
        sorted.push_back(std::move(state.rows[key.second]));
    }
    state.rows = std::move(sorted);
    state.rowsRebuilding = false;
}

bool IsPrinterNotified(const QString& mac) {
    const PrintServerEntry* entry = FindServer(mac);
    return entry != nullptr && entry->notify;
}

bool IsStatusNotified(std::int32_t code) {
    const std::optional<std::size_t> slot = StatusSlot(code);
    const QString& flags = State().options.notifyFlags;
    return slot && static_cast<qsizetype>(*slot) < flags.size() &&
           flags[static_cast<qsizetype>(*slot)] == '1';
}

}  // namespace console
