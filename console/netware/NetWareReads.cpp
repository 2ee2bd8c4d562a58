#include "console/netware/NetWareReads.h"

#include "console/core/FormHelpers.h"
#include "console/netware/NetWareLibraries.h"

namespace console {

namespace {

constexpr std::uint32_t kContextRoom = 255;

}  // namespace

QString LibraryText(const QByteArray& buffer, std::uint32_t length) {
    const qsizetype room = std::max<qsizetype>(buffer.size() - 1, 0);
    return QString::fromLatin1(buffer.constData(), std::min<qsizetype>(length, room));
}

QStringList NameListRecords(const QString& list) {
    QStringList records;
    NameListReader reader;
    for (bool done = list.isEmpty(); !done;) {
        records << reader.Next(records.isEmpty() ? list : QString(), done);
    }
    return records;
}

NwResult ReadContext(QByteArray& tree, QString& context) {
    QByteArray buffer(static_cast<qsizetype>(kContextRoom) + 1, ' ');
    std::uint32_t length = kContextRoom;
    const NwResult result = tessik::NwNdsGetContext(tree.data(), buffer.data(), &length);
    context = result == kNwOk ? LibraryText(buffer, length) : QString();
    return result;
}

}  // namespace console
