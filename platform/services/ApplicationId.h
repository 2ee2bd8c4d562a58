#pragma once

// The DLC application id: one byte shared by every library of a process. The last adapter open
// writes it; every later DLC command of any library in the process carries it.
extern "C" unsigned char bgApplId;
