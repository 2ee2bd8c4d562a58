#include "console/configuration/SettingsTable.h"

#include "console/configuration/ConfigurationSnmp.h"

namespace console {

namespace {

const QString kPrivate = "1.3.6.1.4.1.32473.11.5.1.";

struct RowDefinition {
    int row;
    const char* oid;  // under the private arc unless it starts with "1.3.6.1.2"
    const char* type;
};

constexpr RowDefinition kRows[] = {
    {1, "12.3.1.0", "1"},
    {2, "12.3.2.0", "1"},
    {3, "12.6.1.1.0", "1"},
    {4, "12.2.1.0", "1"},
    {9, "12.2.5.0", "3"},
    {10, "12.2.6.0", "3"},
    {11, "12.2.9.0", "3"},
    {12, "1.3.6.1.2.1.1.5.0", "2"},
    {13, "1.3.6.1.2.1.1.6.0", "2"},
    {14, "12.3.3.0", "1"},
    {15, "12.2.10.0", "1"},
    {16, "12.2.11.0", "1"},
    {17, "12.2.12.0", "1"},
    {18, "12.2.13.0", "1"},
    {19, "12.2.14.0", "1"},
    {31, "1.3.6.1.2.1.11.30.0", "1"},
    {32, "12.5.1.0", ""},
    {33, "12.5.2.0", "1"},
    {34, "1.3.6.1.2.1.13.3.1.1.17.1", "2"},
    {35, "12.5.7.0", "1"},
    {36, "12.5.6.0", "2"},
    {41, "12.7.1.1.2.1", "2"},
    {42, "12.7.9.0", "2"},
    {43, "12.7.3.0", "2"},
    {44, "12.7.10.0", "1"},
    {45, "12.7.11.0", "1"},
    {46, "12.7.5.0", "2"},
    {47, "12.7.6.0", ""},
    {48, "12.7.7.0", ""},
    {49, "12.7.8.0", ""},
    {50, "12.7.2.0", "2"},
    {51, "12.7.4.0", "2"},
    {52, "12.3.5.0", "1"},
    {53, "12.10.1.0", "2"},
};

QString FullOid(const char* oid) {
    const QString text = oid;
    return text.startsWith("1.3.6.1.2") ? text : kPrivate + text;
}

}  // namespace

void RowRequest::Add(const SettingsRow& row) {
    oids << row.oid;
    values += (values.isEmpty() ? "" : ",") + ValueItem(row.type, row.value);
}

SettingsTable::SettingsTable() {
    for (const RowDefinition& definition : kRows) {
        SettingsRow& row = (*this)[definition.row];
        row.oid = FullOid(definition.oid);
        row.type = definition.type;
    }
}

void SettingsTable::Set(int row, const QString& value) {
    (*this)[row].value = value;
    (*this)[row].changed = true;
}

RowRequest SettingsTable::Changed(int first, int last, int except) const {
    RowRequest request;
    for (int row = first; row <= last; ++row) {
        if (row != except && (*this)[row].changed && !(*this)[row].type.isEmpty()) {
            request.Add((*this)[row]);
        }
    }
    return request;
}

void SettingsTable::ClearChanges(int first, int last) {
    for (int row = first; row <= last; ++row) {
        (*this)[row].changed = false;
    }
}

QStringList SettingsTable::Oids(int first, int last) const {
    QStringList oids;
    for (int row = first; row <= last; ++row) {
        oids << (*this)[row].oid;
    }
    return oids;
}

RowRequest FrameTypeRequest(const SettingsTable& rows, const QString& loadedAuto) {
    const SettingsRow& autoRow = rows[kRowFrameAuto];
    RowRequest request;
    const bool autoMoved = autoRow.value != loadedAuto;
    const bool autoFirst = autoMoved && autoRow.value == "2";
    if (autoFirst) {
        request.Add(autoRow);
    }
    const RowRequest explicitTypes = rows.Changed(kRowFrameAuto + 1, kRowFrameLast);
    for (const QString& oid : explicitTypes.oids) {
        request.oids << oid;
    }
    if (!explicitTypes.values.isEmpty()) {
        request.values += (request.values.isEmpty() ? "" : ",") + explicitTypes.values;
    }
    if (autoMoved && !autoFirst) {
        request.Add(autoRow);
    }
    return request;
}

}  // namespace console
