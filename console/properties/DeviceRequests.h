#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The dialogs' exchanges of several objects at once with the print server of an adapter name.
// An answer that does not fit the value buffer is asked again with the room the library reports,
// so a long text never makes a read fail.
namespace console {

// A get of the objects in order; the answer's SnmpValueText in `values`.
std::int32_t GetObjectList(const QString& adapter, const QStringList& oids, QString& values,
                           int bufferSize = 200);
// The same, with octet strings as hexadecimal digits.
std::int32_t GetObjectListAscii(const QString& adapter, const QStringList& oids, QString& values,
                                int bufferSize = 200);
// A get of a predefined object group.
std::int32_t GetObjectGroup(const QString& adapter, int group, QString& values, int bufferSize = 200);
// One set of INTEGER values, one per object.
std::int32_t SetIntegers(const QString& adapter, const QStringList& oids, const QStringList& numbers);

}  // namespace console
