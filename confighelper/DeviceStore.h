#pragma once

#include "confighelper/DeviceList.h"
#include "confighelper/HelperResult.h"
#include "transport/DeviceRecord.h"

// The device store: one entry per print server under AdapterOnly, named by its adapter name. Both
// operations hold the DeviceStoreLock, so that they may run in several threads and processes at once.

// Writes one entry, creating it when missing. The reported category replaces the low two bits of
// "Category"; the port usage count above them survives. A record whose MAC text is not an adapter
// name is never written. 0 or kHelperStoreFailed.
HelperResult StoreDeviceRecord(const DeviceRecord& record);

// Deletes the entries that no port uses, clears the discovery marks of the others ("Category" low
// bits 0, "Detected" 0), then writes every record of the list when one is given. An entry whose
// "Category" cannot be read is left alone. All of it runs as one store batch, committed at its end;
// with a list (a detection's rewrite) the thread's idle hook is called now and then on the way, so
// that the host stays painted.
void PurgeDeviceStore(const DeviceList* list);
