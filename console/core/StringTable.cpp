#include "console/core/StringTable.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTextStream>

#include <vector>

// The table is compiled into the console's static core library; a resource there must be brought in
// by name, outside any namespace.
static void BringInStringTable() {
    Q_INIT_RESOURCE(strings);
}

namespace console {

namespace {

struct Table {
    QHash<int, QString> texts;
    std::vector<int> duplicates;  // ids given twice, in one file or in two
};

// id<TAB>text lines; "#" starts a note line.
Table ReadTable() {
    BringInStringTable();
    Table table;
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
            if (number && table.texts.contains(id)) {
                table.duplicates.push_back(id);
            } else if (number) {
                table.texts.insert(id, line.mid(tab + 1));
            }
        }
    }
    return table;
}

const Table& TheTable() {
    static const Table table = ReadTable();
    return table;
}

}  // namespace

MissingString::MissingString(int id) : std::runtime_error("no text for id " + std::to_string(id)), id_(id) {}

QString LoadString(int id) {
    const QHash<int, QString>& texts = TheTable().texts;
    const auto found = texts.constFind(id);
    if (found == texts.constEnd()) {
        throw MissingString(id);
    }
    return *found;
}

bool HasString(int id) {
    return TheTable().texts.contains(id);
}

const std::vector<int>& DuplicateStringIds() {
    return TheTable().duplicates;
}

}  // namespace console
