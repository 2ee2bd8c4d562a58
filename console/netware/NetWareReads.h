#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "netware/TessikResults.h"

// Texts that cross the NetWare libraries' boundary: 8-bit buffers the caller owns, cut to the length
// the library gave back (never past the buffer), and the records of a NameList.
namespace console {

QString LibraryText(const QByteArray& buffer, std::uint32_t length);

// Every record of a NameList, in order; reading ends at a record that cannot be read.
QStringList NameListRecords(const QString& list);

// The tree's current directory context, through the NetWare helper library.
NwResult ReadContext(QByteArray& tree, QString& context);

}  // namespace console
