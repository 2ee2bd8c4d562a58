#pragma once

#include <QString>

#include "console/core/PrintServerTable.h"

// After the table is reloaded the console reads each print server's printer status once and
// registers itself as the receiver of its status traps.
namespace console {

enum AddressKind : int { kIpxAddress = 1, kIpAddress = 2, kMacAddress = 4, kDnsName = 8 };

// Every entry the last detection found, with a progress step for each.
void PollPrinterStatus(const EntryProgress& progress = {});
// The first entry whose address of the kind is the given one, whether detected or not.
void PollOnePrinterStatus(const QString& address, int kind);

}  // namespace console
