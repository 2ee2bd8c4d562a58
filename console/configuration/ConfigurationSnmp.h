#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// The network interface dialog's exchanges with a print server: gets of several objects at once and
// of whole object groups, with an answer buffer that grows to what the library says it needs, and
// sets of a prepared value text. Values come back split by their byte counts (ParseReply).
namespace console {

std::int32_t GetValues(const QString& adapter, const QStringList& oids, std::vector<QString>& values);
std::int32_t GetGroup(const QString& adapter, int group, std::vector<QString>& values);
std::int32_t SetValues(const QString& adapter, const QStringList& oids, const QString& valueText);

// One value of a value text: "2", the byte length and the text for an octet string (type "2"),
// otherwise the type code and the value.
QString ValueItem(const QString& type, const QString& value);

}  // namespace console
