#pragma once

#include <cstdint>

// Result codes of the configuration helper library's exports; the console shows a failing one as the
// string-table message with the same id.
using HelperResult = std::int32_t;

enum : HelperResult {
    kHelperOk = 0,
    kHelperFailed = 1,  // validation and TFTP parameters: not reached, not decodable, not sent
    kHelperNetworkNotReady = 20011,
    kHelperSocketStartFailed = 20012,
    kHelperNotPrintServer = 20016,
    kHelperPortNotAdded = 20017,       // no port added
    kHelperSettingsNotSaved = 20019,   // the printer's document settings could not be stored
    kHelperJobListFailed = 20020,      // printer, job or job list file not to be had
    kHelperNoJobs = 20021,             // the printer has no jobs: no file is written
    kHelperJobCommandRefused = 20022,  // the spooler refused the pause, resume, cancel or restart
    kHelperDecodeFailed = 20023,
    kHelperBufferTooSmall = 20024,
    kHelperQueueNotMade = 20025,  // the port was added, the spooler made no queue on it
    kHelperNoAnswer = 20028,
    kHelperNoMemory = 20040,
    kHelperStoreFailed = 20041,
    kHelperPrinterNotOpened = 20043,
    kHelperDetectionRunning = 20044,   // called inside a detection of the same thread
    kHelperAddressInUse = 20045,       // another device answers at the address: nothing was sent
    kHelperNotAtNewAddress = 20046,    // the broadcast was answered, the card does not answer there
    kHelperOtherAtNewAddress = 20047,  // the broadcast was answered, another device answers there
    kHelperNotOnThisPlatform = 21000,
};
