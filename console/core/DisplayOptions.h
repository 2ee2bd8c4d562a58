#pragma once

#include <QString>

#include <array>
#include <optional>

// The console's display options: one comma-separated text that shut-down builds and start-up reads
// (window position, columns, alerts, sort, filter, refresh, job queue widths), stored by the
// configuration helper library without reading it.
namespace console {

inline constexpr std::size_t kColumnCount = 8;
enum ColumnIndex : std::size_t {
    kNameColumn,
    kDescriptionColumn,
    kStatusColumn,
    kIpColumn,
    kIpxColumn,
    kMacColumn,
    kPortColumn,
    kWindowsPrinterColumn
};
inline constexpr std::size_t kJobQueueColumns = 10;

struct ColumnLayout {
    bool visible = false;
    int width = 1000;  // twips
    bool operator==(const ColumnLayout&) const = default;
};

struct DisplayOptions {
    // The main window in twips; 32-bit, so that any screen layout fits.
    int top = 1605;
    int left = 1035;
    int height = 6090;
    int width = 9615;
    std::array<ColumnLayout, kColumnCount> columns{};
    int carried = 15;             // kept from start-up to shut-down unchanged
    QString notifyFlags = "255";  // one character per status slot, "1" alerts
    int sortColumn = 1;
    bool sortDescending = false;
    int filterKind = 0;
    bool toolBarVisible = true;
    bool statusBarVisible = true;
    bool treeVisible = true;
    bool alertLogOn = false;
    int viewMode = 2;  // 0 large icons, 1 small icons, 2 detailed list
    QString filterText = "*4*";
    QString alertLogFile = "log.dat";
    int autoRefresh = 0;
    int refreshSeconds = 60;
    std::array<int, kJobQueueColumns> jobQueueWidths{};

    DisplayOptions();
    bool operator==(const DisplayOptions&) const = default;
};

// What a first start (and a start whose stored text cannot be read) uses: the columns that rows
// fill, from the name to the hardware address. (The older text "...,65,...,1000,1000,1000" showed
// the name and the port name, which rows never fill, and hid status and addresses.)
inline constexpr const char* kDefaultDisplayOptions =
    "1605,1035,9705,14535,63,15,255,1,0,3,2,*4*,log.dat,2100,1500,1800,1500,2700,1800,0,60,";

// The text read back; fields missing at the end keep their defaults. None when a field that is
// there cannot be read (not a number, a number past 32 bits, an unclosed quote).
std::optional<DisplayOptions> ParseDisplayOptions(const QString& text);
// The text that ParseDisplayOptions reads back to the same options, whatever they hold.
QString BuildDisplayOptions(const DisplayOptions& options);

}  // namespace console
