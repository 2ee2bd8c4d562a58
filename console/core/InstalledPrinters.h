#pragma once

#include <QString>

#include <vector>

// The printer map: the CUPS queues whose device URI "vorlane:/PORT" names a port of the port map,
// with the print server each prints to.
namespace console {

// Rebuilds the map from the spooler's queues and the port map; empty when the spooler cannot be asked.
void MatchInstalledPrinters();
// The queues that print to the print server of that hardware address, in map order.
std::vector<QString> InstalledPrintersOf(const QString& mac);

}  // namespace console
