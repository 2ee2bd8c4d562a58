#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

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
// One record of three quoted fields (quotes inside doubled, anything else as it is, line breaks
// included): printer name, date and time, status text.
QString AlertLogLine(const QString& name, const QString& when, const QString& status);
// Appends the record and its line end; false when they did not reach the file.
bool AppendAlertLog(const QString& fileName, const QString& line);

// One record of the log read back: printer name, date and time, status text.
struct AlertLogRecord {
    QString name;
    QString when;
    QString status;
    bool operator==(const AlertLogRecord&) const = default;
};
struct AlertLog {
    std::vector<AlertLogRecord> records;
    int damaged = 0;  // lines that were not records and torn records, skipped
};
// The records of the log's bytes, each field exactly as written; what is not a record (three quoted
// fields, separated by commas, then a line end or the end) is skipped up to the next line, and a
// record torn by an append that never ended (cut inside its last field, with the next record written
// right after it) up to that next record.
AlertLog ReadAlertLog(const QByteArray& bytes);

}  // namespace console
