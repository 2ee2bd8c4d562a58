#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

#include "console/core/DisplayOptions.h"
#include "platform/window/Window.h"

// The console's module-level tables and settings, shared by the main window and every dialog.
namespace console {

// One print server of the device store.
struct PrintServerEntry {
    QString mac;  // the adapter name: the key of the entry everywhere
    QString name;
    QString description;
    std::int32_t status = -1;  // last printer status; -1 unknown or no answer
    QString ip;
    QString ipx;
    QString dns;
    std::uint32_t category = 0;  // low two bits the category, 4 per port that names the print server
    std::uint32_t protocols = 0;
    std::uint32_t preferred = 0;
    bool notify = false;  // monitored by the alerts dialog
    std::uint32_t detected = 0;
    // The card itself said it is new, fresh from its box, when the last detection found it (the
    // category's bit 1 in the store may also be the console's own mark of an entry added by hand).
    bool reportedNew = false;
};

// One row of the printer list, after filter and sort.
struct PrinterRow {
    QString name;
    QString description;
    std::int32_t status = -1;
    QString ip;
    QString ipx;
    QString mac;
    std::uint32_t category = 0;
    std::uint32_t detected = 0;
    QString portName;
    QString windowsPrinter;
};

// A CUPS queue that prints through a port of a known print server.
struct InstalledPrinter {
    QString printer;
    QString mac;
    QString port;
};

struct ConsoleState {
    std::vector<PrintServerEntry> servers;
    std::vector<PrinterRow> rows;
    std::vector<InstalledPrinter> installedPrinters;
    int currentRow = -1;  // index into rows; -1 none
    std::array<QString, kColumnCount> columnTitles;
    DisplayOptions options;  // the settings the display options carry, the columns' layout among them
    int alertStyle = 1;      // 1 message box, 0 beep, 2 nothing
    bool rowsRebuilding = false;
    bool listFilling = false;
    bool commandBusy = false;
    QString productTitle;
    QString makerAbbreviation;
    QString currentPassword;
    plat::WindowHandle firmwareWindow = 0;
    // What the engine version check tells the configuration dialog; true before each check.
    bool optionFlag2 = true;
    bool optionFlag16 = true;
};

ConsoleState& State();

// The current row, or null when there is none.
const PrinterRow* CurrentPrinter();
// The entry of a hardware address, compared without regard to case; null when there is none.
PrintServerEntry* FindServer(const QString& mac);
bool SameMac(const QString& a, const QString& b);
// The hardware address in the one form that equal addresses share (as SameMac compares them): the
// key of a table looked up by address.
QString MacKey(const QString& mac);

}  // namespace console
