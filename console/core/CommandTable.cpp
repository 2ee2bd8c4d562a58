#include "console/core/CommandTable.h"

#include <map>

#include "console/core/Messages.h"

namespace console {

namespace {

constexpr int kNotAvailable = 12091;

std::map<QString, CommandHandler>& Handlers() {
    static std::map<QString, CommandHandler> handlers;
    return handlers;
}

PasswordDialog& Gate() {
    static PasswordDialog gate;
    return gate;
}

}  // namespace

void SetCommand(const QString& name, CommandHandler handler) {
    Handlers()[name] = std::move(handler);
}

CommandHandler RegisteredCommand(const QString& name) {
    const auto found = Handlers().find(name);
    return found == Handlers().end() ? CommandHandler() : found->second;
}

void SetPasswordDialog(PasswordDialog dialog) {
    Gate() = std::move(dialog);
}

bool AskPassword(QWidget* parent) {
    if (!Gate()) {
        ShowMessage(kNotAvailable, kWarning);
        return false;
    }
    return Gate()(parent);
}

}  // namespace console
