#include "console/core/Alerts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
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

// The console's own data folder is made when it is missing; a folder the user named is not: when it
// is gone (a share or a disk no longer there), the line is not written.
bool AppendAlertLog(const QString& fileName, const QString& line) {
    const QString path = AlertLogPath(fileName);
    if (!QFileInfo(fileName).isAbsolute()) {
        QDir().mkpath(QFileInfo(path).absolutePath());
    }
    QFile file(path);
    // Not as text: a carriage return inside a field is kept, not taken as part of a line end.
    if (!file.open(QIODevice::Append)) {
        return false;
    }
    const QByteArray record = line.toUtf8() + '\n';
    // Written only once it has left the buffer: a full disk fails the flush, not the write.
    return file.write(record) == record.size() && file.flush();
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

// Where a record read from `at` ends: after the closing quote of its third field, and after its line
// end (or at the end of the text); -1 for what is not there.
struct RecordEnds {
    qsizetype fields = -1;
    qsizetype line = -1;
};

RecordEnds ReadRecord(const QString& text, qsizetype at, AlertLogRecord& record) {
    RecordEnds ends;
    QString* fields[] = {&record.name, &record.when, &record.status};
    for (std::size_t field = 0; field < 3; ++field) {
        at = QuotedField(text, at, *fields[field]);
        if (at < 0) {
            return ends;
        }
        if (field < 2) {
            if (at >= text.size() || text[at] != ',') {
                return ends;
            }
            ++at;
        }
    }
    ends.fields = at;
    if (at < text.size() && text[at] == '\r') {
        ++at;
    }
    if (at < text.size() && text[at] != '\n') {
        return ends;
    }
    ends.line = std::min(at + 1, text.size());
    return ends;
}

// Whether three quoted fields begin at `at`: a whole record, or one torn in its last field.
bool StartsRecord(const QString& text, qsizetype at) {
    AlertLogRecord ignored;
    return ReadRecord(text, at, ignored).fields >= 0;
}

qsizetype NextLine(const QString& text, qsizetype at) {
    const qsizetype lineEnd = text.indexOf('\n', at);
    return lineEnd < 0 ? text.size() : lineEnd + 1;
}

bool BlankLine(const QString& text, qsizetype at) {
    return text.mid(at, NextLine(text, at) - at).trimmed().isEmpty();
}

// An append that never ended leaves a record cut inside its last field, and the next append follows
// it at once: read from the torn record, that field ends at the next record's opening quote. The
// record is taken as torn when three fields begin at the quote that closed its last field and what
// comes after it is not a line end followed by a record (or by a blank line, or the end): a field of
// the next record may begin with a line feed, which then reads as the torn record's line end.
bool Torn(const QString& text, const RecordEnds& ends) {
    if (ends.fields < 0 || !StartsRecord(text, ends.fields - 1)) {
        return false;
    }
    return ends.line < 0 || !(BlankLine(text, ends.line) || StartsRecord(text, ends.line));
}

}  // namespace

AlertLog ReadAlertLog(const QByteArray& bytes) {
    const QString text = QString::fromUtf8(bytes);
    AlertLog log;
    qsizetype at = 0;
    while (at < text.size()) {
        if (BlankLine(text, at)) {
            at = NextLine(text, at);
            continue;
        }
        AlertLogRecord record;
        const RecordEnds ends = ReadRecord(text, at, record);
        const bool torn = Torn(text, ends);
        if (ends.line >= 0 && !torn) {
            log.records.push_back(std::move(record));
            at = ends.line;
            continue;
        }
        ++log.damaged;
        // A torn record costs only itself: the next one begins at the quote that closed its last field.
        at = torn ? ends.fields - 1 : NextLine(text, at);
    }
    return log;
}

}  // namespace console
