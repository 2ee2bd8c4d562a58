#include "console/core/ConsoleState.h"

namespace console {

ConsoleState& State() {
    static ConsoleState state;
    return state;
}

const PrinterRow* CurrentPrinter() {
    const ConsoleState& state = State();
    if (state.currentRow < 0 || state.currentRow >= static_cast<int>(state.rows.size())) {
        return nullptr;
    }
    return &state.rows[static_cast<std::size_t>(state.currentRow)];
}

// Compared in place: a list of ten thousand rows is searched by address on every status notice.
bool SameMac(const QString& a, const QString& b) {
    return QStringView(a).trimmed().compare(QStringView(b).trimmed(), Qt::CaseInsensitive) == 0;
}

QString MacKey(const QString& mac) {
    return mac.trimmed().toCaseFolded();
}

PrintServerEntry* FindServer(const QString& mac) {
    for (PrintServerEntry& entry : State().servers) {
        if (SameMac(entry.mac, mac)) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace console
