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
    if (!file.open(QIODevice::Append | QIODevice::Text)) {
        return false;
    }
    const QByteArray record = line.toUtf8() + '\n';
    return file.write(record) == record.size();
}

// Fields are quoted, with quotes inside doubled; nothing may stand between a field and its comma.
std::optional<AlertLogRecord> ParseAlertLogLine(const QString& line) {
    std::vector<QString> fields;
    qsizetype at = 0;
    while (at < line.size() && fields.size() < 3) {
        if (line[at] != '"') {
            return std::nullopt;
        }
        QString field;
        qsizetype i = at + 1;
        for (; i < line.size(); ++i) {
            if (line[i] != '"') {
                field += line[i];
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                break;
            }
        }
        if (i >= line.size()) {
            return std::nullopt;
        }
        fields.push_back(field);
        at = i + 1;
        if (fields.size() < 3) {
            if (at >= line.size() || line[at] != ',') {
                return std::nullopt;
            }
            ++at;
        }
    }
    if (fields.size() != 3 || at != line.size()) {
        return std::nullopt;
    }
    return AlertLogRecord{fields[0], fields[1], fields[2]};
}

}  // namespace console
