#pragma once

#include "console/netware/ServicedQueues.h"
#include "netware/TessikResults.h"

// One queue's service by the card, put in place or taken away in the NetWare directory and in the
// card's service table in one call of the NetWare helper library. The card's printer object is
// named from the mode (CardPrinterName); a directory queue and print server are dotted names.
namespace console {

NwResult AddService(const ServicedQueue& service);
NwResult RemoveService(const ServicedQueue& service);

// Whether a failed call stopped at the card, after the directory had been changed.
bool FailedAtTheCard(NwResult result);

}  // namespace console
