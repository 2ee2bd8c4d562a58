#pragma once

#include <cstdint>

// The print server card's NetWare service table and check delays, over SNMP. One source built into
// the configuration helper library (which exports the five functions below) and the NetWare helper
// library (which exports them too and uses the row operations for its serviced-queue set-up).
// No exception leaves an export: an allocation failure answers kNwNoMemory, anything else 25009.
#define NW_CARD_EXPORT extern "C" __attribute__((visibility("default")))

using NwResult = std::int32_t;

enum : NwResult {
    kNwOk = 0,
    kNwNoMemory = 30026,  // also: the NwSNMPInit buffer is too small
    kNwNoSuchRow = 30027,
};

// Get and set of the job and configuration check delays. A failing exchange returns its code and
// leaves the value untouched.
NW_CARD_EXPORT NwResult NwSNMPGetJobCheckDelay(const char* adapterName, std::int32_t* value);
NW_CARD_EXPORT NwResult NwSNMPSetJobCheckDelay(const char* adapterName, std::int32_t value);
NW_CARD_EXPORT NwResult NwSNMPGetCfgCheckDelay(const char* adapterName, std::int32_t* value);
NW_CARD_EXPORT NwResult NwSNMPSetCfgCheckDelay(const char* adapterName, std::int32_t value);

// The valid rows of the service table as NameList records, four per row (queue path, mode, print
// server path, column 4), "%04d," then the text, joined by commas. length in: the buffer's size, out:
// the text's length; count: the rows listed.
NW_CARD_EXPORT NwResult NwSNMPInit(const char* adapterName, char* buffer, std::uint32_t* length,
                                   std::uint32_t* count);

// Adds a row at the first free index: create, queue path, mode, print server path, valid.
NwResult NwSNMPAddServiceRow(const char* adapterName, const char* queuePath, const char* printServerPath,
                             std::int32_t mode);
// Retires the row whose queue path, print server path and mode match (paths without regard to case).
NwResult NwSNMPRemoveServiceRow(const char* adapterName, const char* queuePath, const char* printServerPath,
                                std::int32_t mode);
// The index of the row whose queue path and print server path match (without regard to case; the
// mode is not compared), for a change of the row.
NwResult NwSNMPFindServiceRow(const char* adapterName, const char* queuePath, const char* printServerPath,
                              std::int32_t* index);
// Changes row `index`: modify, mode, print server path, valid.
NwResult NwSNMPChangeServiceRow(const char* adapterName, std::int32_t index, std::int32_t mode,
                                const char* printServerPath);
