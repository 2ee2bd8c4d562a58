#pragma once

#include <QString>

#include <cstdint>
#include <optional>

#include "console/core/ConsoleState.h"

// The status notices that the configuration helper library's trap listeners hand to the main window,
// and the alert log they may write.
namespace console {

// "kind,address,status": the protocol bit the trap came over (1 IPX, 2 IP, 4 DLC), the sender's
// address in that protocol's form, and the printer status code.
struct TrapNotice {
    int kind = 0;
    QString address;
    std::int32_t status = 0;
};

// None for a line that is not such a notice (a status past 32 bits included).
std::optional<TrapNotice> ParseTrapNotice(const QString& line);
// The print server that sent it, whether or not the filter shows it; null when none matches.
PrintServerEntry* NoticeSender(const TrapNotice& notice);

// The alert log's file: a name without a folder lives in the user's data folder.
QString AlertLogPath(const QString& fileName);
// One line of three quoted fields (quotes inside doubled): printer name, date and time, status text.
QString AlertLogLine(const QString& name, const QString& when, const QString& status);
bool AppendAlertLog(const QString& fileName, const QString& line);

// One line of the log read back: printer name, date and time, status text.
struct AlertLogRecord {
    QString name;
    QString when;
    QString status;
};
// None for a line that is not three quoted fields separated by commas.
std::optional<AlertLogRecord> ParseAlertLogLine(const QString& line);

}  // namespace console
