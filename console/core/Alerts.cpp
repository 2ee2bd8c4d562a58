#include "console/core/Alerts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <limits>
#include <vector>

namespace console {

namespace {

QString Quoted(const QString& field) {
    return '"' + QString(field).replace("\"", "\"\"") + '"';
}

}  // namespace

std::optional<TrapNotice> ParseTrapNotice(const QString& line) {
    const qsizetype first = line.indexOf(',');
    const qsizetype second = first < 0 ? -1 : line.lastIndexOf(',');
    if (second <= first) {
        return std::nullopt;
    }
    bool kindOk = false;
    bool statusOk = false;
    TrapNotice notice;
    notice.kind = line.left(first).trimmed().toInt(&kindOk);
    notice.address = line.mid(first + 1, second - first - 1);
    const qint64 status = line.mid(second + 1).trimmed().toLongLong(&statusOk);
    if (!kindOk || !statusOk || status < std::numeric_limits<std::int32_t>::min() ||
        status > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    notice.status = static_cast<std::int32_t>(status);
    return notice;
}

PrintServerEntry* NoticeSender(const TrapNotice& notice) {
    for (PrintServerEntry& entry : State().servers) {
        const bool matches = notice.kind == 2   ? entry.ip == notice.address
                             : notice.kind == 1 ? entry.ipx.compare(notice.address, Qt::CaseInsensitive) == 0
                             : notice.kind == 4 ? SameMac(entry.mac, notice.address)
                                                : false;
        if (matches && !notice.address.isEmpty()) {
            return &entry;
        }
    }
    return nullptr;
}

QString AlertLogPath(const QString& fileName) {
    if (QFileInfo(fileName).isAbsolute()) {
        return fileName;
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/vorlane/" + fileName;
}

QString AlertLogLine(const QString& name, const QString& when, const QString& status) {
    return Quoted(name) + ',' + Quoted(when) + ',' + Quoted(status);
}

bool AppendAlertLog(const QString& fileName, const QString& line) {
    const QString path = AlertLogPath(fileName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    // Not as text: a carriage return inside a field is kept, not taken as part of a line end.
    if (!file.open(QIODevice::Append)) {
        return false;
    }
    const QByteArray record = line.toUtf8() + '\n';
    return file.write(record) == record.size();
}

namespace {

// One quoted field from `at` (the opening quote); the position after its closing quote, or -1.
qsizetype QuotedField(const QString& text, qsizetype at, QString& field) {
    if (at >= text.size() || text[at] != '"') {
        return -1;
    }
    field.clear();
    for (qsizetype i = at + 1; i < text.size(); ++i) {
        if (text[i] != '"') {
            field += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            ++i;
        } else {
            return i + 1;
        }
    }
    return -1;
}

// The record from `at`, and the position after its line end; -1 when there is none there.
qsizetype Record(const QString& text, qsizetype at, AlertLogRecord& record) {
    QString* fields[] = {&record.name, &record.when, &record.status};
    for (std::size_t field = 0; field < 3; ++field) {
        at = QuotedField(text, at, *fields[field]);
        if (at < 0) {
            return -1;
        }
        if (field < 2) {
            if (at >= text.size() || text[at] != ',') {
                return -1;
            }
            ++at;
        }
    }
    if (at < text.size() && text[at] == '\r') {
        ++at;
    }
    if (at < text.size() && text[at] != '\n') {
        return -1;
    }
    return at + 1;
}

}  // namespace

AlertLog ReadAlertLog(const QByteArray& bytes) {
    const QString text = QString::fromUtf8(bytes);
    AlertLog log;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype lineEnd = text.indexOf('\n', at);
        const qsizetype next = lineEnd < 0 ? text.size() : lineEnd + 1;
        if (text.mid(at, next - at).trimmed().isEmpty()) {
            at = next;
            continue;
        }
        AlertLogRecord record;
        const qsizetype after = Record(text, at, record);
        if (after < 0) {
            ++log.damaged;
            at = next;
            continue;
        }
        log.records.push_back(std::move(record));
        at = after;
    }
    return log;
}

}  // namespace console
