#pragma once

// The DLC application id: one byte shared by every library of a process. The last adapter open
// writes it; every later DLC command of any library in the process carries it, but the commands of a
// SAP already open, which go to the adapter open that holds the SAP (transport/DlcSapAdapters.h).
extern "C" unsigned char bgApplId;
