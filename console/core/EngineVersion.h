#pragma once

#include <QString>

#include <optional>

// Which kind of print server the current row is, for the configuration dialog, and the log of the
// factory-default and DHCP commands.
namespace console {

// The kind (1 to 5) from the version date and the type word; none when a get fails.
std::optional<int> CheckEngineVersion();

enum FactoryCommand : int { kFactoryDefault = 1, kDhcpSelected = 2 };
// Appends one line to Factory.log in the user's data folder; false when it cannot be written.
bool LogFactoryCommand(const QString& printerName, int command);
QString FactoryLogPath();
// Tells the user that a command was carried out but its line is not in Factory.log.
void TellFactoryLogUnwritten();

}  // namespace console
