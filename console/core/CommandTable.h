#pragma once

#include <QString>

#include <functional>

class QWidget;

// The main window's commands that other parts of the console provide (the dialog libraries): each
// registers its handler here once, at start-up. A command without a handler says that the function
// is not available yet.
namespace console {

class NewLook;

using CommandHandler = std::function<void(NewLook& window)>;
void SetCommand(const QString& name, CommandHandler handler);
// The registered handler; empty when there is none.
CommandHandler RegisteredCommand(const QString& name);

// The password gate's dialog: true when the person typed the print server's password.
using PasswordDialog = std::function<bool(QWidget* parent)>;
void SetPasswordDialog(PasswordDialog dialog);
// Asks for the current row's password; without a registered dialog it says so and refuses.
bool AskPassword(QWidget* parent);

}  // namespace console
