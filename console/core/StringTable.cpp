#include "console/core/StringTable.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTextStream>

// The table is compiled into the console's static core library; a resource there must be brought in
// by name, outside any namespace.
static void BringInStringTable() {
    Q_INIT_RESOURCE(strings);
}

namespace console {

namespace {

// id<TAB>text lines; "#" starts a note line.
QHash<int, QString> ReadTable() {
    BringInStringTable();
    QHash<int, QString> table;
    // en.txt and the dialogs' own en-*.txt files.
    for (const QString& name : QDir(":/strings").entryList({"en*.txt"}, QDir::Files, QDir::Name)) {
        QFile file(":/strings/" + name);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            continue;
        }
        QTextStream in(&file);
        in.setEncoding(QStringConverter::Utf8);
        while (!in.atEnd()) {
            const QString line = in.readLine();
            const qsizetype tab = line.indexOf('\t');
            if (line.startsWith('#') || tab <= 0) {
                continue;
            }
            bool number = false;
            const int id = line.left(tab).toInt(&number);
            if (number) {
                table.insert(id, line.mid(tab + 1));
            }
        }
    }
    return table;
}

const QHash<int, QString>& Table() {
    static const QHash<int, QString> table = ReadTable();
    return table;
}

}  // namespace

MissingString::MissingString(int id) : std::runtime_error("no text for id " + std::to_string(id)), id_(id) {}

QString LoadString(int id) {
    const auto found = Table().constFind(id);
    if (found == Table().constEnd()) {
        throw MissingString(id);
    }
    return *found;
}

bool HasString(int id) {
    return Table().contains(id);
}

}  // namespace console
