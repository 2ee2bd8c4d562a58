#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The single-valued settings of the network interface dialog, one row per print server object:
// its OID, its value type ("1" integer, "2" octet string, "3" IP address; empty for a row that is
// never written), the value shown and whether the user changed it.
namespace console {

struct SettingsRow {
    QString oid;
    QString type;
    QString value;
    bool changed = false;
};

// The rows the dialog names.
enum SettingsRowId : int {
    kRowAppleTalk = 1,
    kRowNetWare = 2,
    kRowProtection = 3,
    kRowAssignment = 4,
    kRowIpAddress = 9,
    kRowSubnet = 10,
    kRowGateway = 11,
    kRowName = 12,
    kRowDescription = 13,
    kRowTcpIp = 14,
    kRowFrameAuto = 15,
    kRowFrameLast = 19,
    kRowAuthTraps = 31,
    kRowAppleError = 32,
    kRowRouterTimer = 33,
    kRowZone = 34,
    kRowPapWait = 35,
    kRowApplePrinter = 36,
    kRowIppFirst = 41,
    kRowIppLast = 51,
    kRowSmb = 52,
    kRowWorkgroup = 53,
};

// One set request: the changed rows' OIDs and their value items, in row order.
struct RowRequest {
    QStringList oids;
    QString values;
    bool Empty() const { return oids.isEmpty(); }
    void Add(const SettingsRow& row);
};

class SettingsTable {
  public:
    static constexpr int kRowCount = 54;

    SettingsTable();
    SettingsRow& operator[](int row) { return rows_.at(static_cast<std::size_t>(row)); }
    const SettingsRow& operator[](int row) const { return rows_.at(static_cast<std::size_t>(row)); }

    // A page handler's change: the value, marked changed.
    void Set(int row, const QString& value);
    // The changed rows of first to last, but for the row `except` (0: none).
    RowRequest Changed(int first, int last, int except = 0) const;
    void ClearChanges(int first, int last);
    // The OIDs of first to last.
    QStringList Oids(int first, int last) const;

  private:
    std::array<SettingsRow, kRowCount> rows_;
};

// The frame type request: the changed explicit types, with the Auto row first when it was switched
// on and last when switched off; it rides along whenever it differs from what was loaded.
RowRequest FrameTypeRequest(const SettingsTable& rows, const QString& loadedAuto);

}  // namespace console
