#pragma once

// The port monitor's string table: its messages, its names and its dialogs' texts by id.
// Null for an id the table does not hold.
const char* LoadMonitorString(int id);

enum : int {
    kStrSelectPrinter = 33,
    kStrEnterPortName = 34,
    kStrConfigurePort = 37,
    kStrNoResponse = 39,
    kStrEnterPortNameLabel = 41,
    kStrMonitorName = 52,
    kStrPortDescription = 53,
    kStrHintFirst = 54,  // 54 to 57: the hints of the address kinds 81 to 84
    kStrMemoryError = 65,
    kStrPortNotSupported = 66,
    kStrCannotDelete = 69,
    kStrPortInUse = 70,
    kStrNoControlCharacters = 71,
    kStrKindFirst = 81,      // 81 to 84: the address kinds
    kStrColumnFirst = 2000,  // 2000 to 2003: the list's columns
    kStrSelectLabel = 2004,
    kStrAddServerButton = 2005,
    kStrOk = 2006,
    kStrCancel = 2007,
    kStrHelp = 2008,
    kStrLocateUsing = 2009,
    kStrAddPort = 2010,
    kStrAddPrinter = 2011,
};
