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

bool SameMac(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
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
