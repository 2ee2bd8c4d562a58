#include "console/core/EngineVersion.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"
#include "console/core/Messages.h"

namespace console {

namespace {

const char* const kVersionOid = "1.3.6.1.4.1.32473.11.5.1.1.1.2.0";
const char* const kTypeOid = "1.3.6.1.4.1.32473.11.5.1.1.1.3.0";
const char* const kLastOldEngine = "19990621";
constexpr int kOldEngine = 5;
constexpr int kTypeOption2 = 2;
constexpr int kTypeOption16 = 16;
constexpr int kFactoryLogUnwritten = 12155;

std::optional<QString> FirstValue(const QString& oid) {
    const PrinterRow* row = CurrentPrinter();
    QString value;
    if (row == nullptr || SnmpGet(row->mac, oid, value) != 0) {
        return std::nullopt;
    }
    const std::vector<QString> values = ParseReply(value);
    return values.empty() ? QString() : values.front();
}

// A version text holds its date, month/day/year, after its first blank; the answer is yyyymmdd.
QString VersionDate(const QString& version) {
    const qsizetype p = version.indexOf(' ') + 1;
    return version.mid(p + 6, 4) + version.mid(p, 2) + version.mid(p + 3, 2);
}

}  // namespace

std::optional<int> CheckEngineVersion() {
    ConsoleState& state = State();
    state.optionFlag2 = true;
    state.optionFlag16 = true;
    const std::optional<QString> version = FirstValue(kVersionOid);
    if (!version) {
        return std::nullopt;
    }
    if (VersionDate(*version) <= kLastOldEngine) {
        return kOldEngine;
    }
    const std::optional<QString> type = FirstValue(kTypeOid);
    bool number = false;
    const qint64 word = type ? type->trimmed().toLongLong(&number) : 0;
    if (!number) {
        return std::nullopt;
    }
    const qint64 high = word / 256;
    const qint64 low = word % 256;
    switch (high) {
        case 255:
            state.optionFlag16 = (low & kTypeOption16) != 0;
            state.optionFlag2 = (low & kTypeOption2) == 0;
            return 3;
        case 2:
            state.optionFlag2 = false;
            return 2;
        case 1:
        case 3:
            return 1;
        default:
            state.optionFlag2 = (low & kTypeOption2) == 0;
            return 4;
    }
}

QString FactoryLogPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/vorlane/Factory.log";
}

bool LogFactoryCommand(const QString& printerName, int command) {
    const QString phrase = command == kFactoryDefault ? "Factory Default Command is proceeded in "
                           : command == kDhcpSelected ? "DHCP is selected in "
                                                      : "unknown command in ";
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    const QString line = locale.toString(now.date(), QLocale::ShortFormat) + ' ' +
                         locale.toString(now.time(), QLocale::ShortFormat) + ": " + phrase + printerName;
    QDir().mkpath(QFileInfo(FactoryLogPath()).absolutePath());
    QFile file(FactoryLogPath());
    if (!file.open(QIODevice::Append | QIODevice::Text)) {
        return false;
    }
    const QByteArray record = '"' + QString(line).replace("\"", "\"\"").toUtf8() + "\"\n";
    // Written only once it has left the buffer: a full disk fails the flush, not the write.
    return file.write(record) == record.size() && file.flush();
}

void TellFactoryLogUnwritten() {
    ShowMessageEx(kFactoryLogUnwritten, kWarning, FactoryLogPath());
}

}  // namespace console
