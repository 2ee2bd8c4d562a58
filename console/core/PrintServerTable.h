#pragma once

#include <QString>

#include <cstdint>
#include <functional>

#include "console/core/ConsoleState.h"

// Loading, rebuilding, filtering, sorting and writing back the console's print server table and
// printer rows.
namespace console {

// Called with the print server's name for each detected entry read (a progress step of the
// detection dialog).
using EntryProgress = std::function<void(const QString& name)>;

// Called with the table index of each entry read, once it is complete.
using EntryRead = std::function<void(std::size_t index)>;

// Reads the device store into the table; known print servers keep their status and monitoring.
// `afterDetection`: a detection has just written the store, so its categories are what the cards
// reported; otherwise each known print server keeps what it reported when it was last detected.
void LoadPrintServerTable(const EntryProgress& progress = {}, const EntryRead& read = {},
                          bool afterDetection = false);
// Puts the number of ports that name each print server into its Category (4 per port), in the
// table and in the store.
void SaveCategory();
// Updates the entry of the hardware address and its device store key: name, description, the IP
// address unless empty, the category's low two bits, and the status unless it is -1.
void StoreRecordIO(const QString& mac, const QString& name, const QString& description, const QString& ip,
                   std::uint32_t category, std::int32_t status);

bool MatchesFilter(const PrinterRow& row);
// The rows of every entry that passes the filter, in table order.
void BuildPrinterRows();
void SortPrinterRows();

// Monitoring and alerts go by hardware address.
bool IsPrinterNotified(const QString& mac);
bool IsStatusNotified(std::int32_t code);

// The pattern test of the filters: * any run, ? one character, # one digit, [list] or [!list] one
// character of (not of) the list, with ranges such as [a-f].
bool MatchesPattern(const QString& text, const QString& pattern, Qt::CaseSensitivity sensitivity);

// Whether a list of hardware addresses (separated by blanks or ';') holds the address, compared
// without regard to case: the chosen printers of the Printer Filter.
bool InMacList(const QString& mac, const QString& list);

}  // namespace console
