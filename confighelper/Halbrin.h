#pragma once

#include <cstdint>

#include "confighelper/HelperResult.h"
#include "platform/window/Window.h"

// The exports of the configuration helper library (libhalbrin.so). Text crosses the boundary in
// buffers that the caller owns, with sizes passed by reference; every function returns a HelperResult
// unless said otherwise. No exception leaves an export: it becomes the export's failure result, and an
// allocation failure kHelperNoMemory unless the export answers only 0 or 1. The library also exports
// bgApplId (from the platform layer) and the card's NetWare service table functions
// (netware/cardtable/CardServiceTable.h).
#define HALBRIN_EXPORT extern "C" __attribute__((visibility("default")))

// Start-up: keeps the notice window, reads the stored display options into the caller's buffer (size
// in: its size, out: bytes written with the terminator), reads the settings, starts the socket library
// and opens the trap listeners (UDP 162, IPX 0x9010, DLC SAP 12). kHelperStoreFailed when the options
// or the job file name cannot be read; a listener that cannot bind stays inert and the call succeeds.
HALBRIN_EXPORT HelperResult HelperInitialize(plat::WindowHandle noticeWindow, char* options,
                                             std::uint32_t* optionsSize);

// Shut-down: closes the listeners, stops the socket library, stores the first length - 1 bytes of the
// options text (and a terminator) and purges the device store. 0 (kHelperNoMemory or kHelperFailed only
// when a step stopped on an exception).
HALBRIN_EXPORT HelperResult HelperCleanUp(const char* options, std::uint32_t length);

// The view of the shared memory "PSINFO.SM" when some process created it, else null.
HALBRIN_EXPORT void* HelperInitializeSharedMem();

// Finds every print server on the local network and writes them into the device store. Only the sixth
// argument is read: the window whose text receives the progress notices ("2", "1", "7", "3" per request
// sent, "4" per answer handled, "5" and the number found at the end); 0 for no notices.
// kHelperDetectionRunning, with nothing done, when called inside a detection of the same thread.
HALBRIN_EXPORT HelperResult HelperDetectPrintServers(std::int32_t reserved1, std::int32_t reserved2,
                                                     std::int32_t reserved3, std::int32_t reserved4,
                                                     std::int32_t reserved5,
                                                     plat::WindowHandle progressWindow);

// Asks the print server at the address for its identity and stores it. Kinds: 1 IPX address (8 + 12
// hex digits), 2 dotted IPv4, 4 hardware address (12 hex digits), 8 host name or dotted IPv4. 0 stored;
// 1 not reached, not decodable or unknown kind; kHelperNotPrintServer category other than 2;
// kHelperStoreFailed. The address text is never written to.
HALBRIN_EXPORT HelperResult HelperValidateAdapter(const char* address, std::int32_t kind);

// The same; for kinds 2 and 8 the IPv4 address that is asked comes back in dotted form in `resolved`
// when its resolvedSize bytes hold it and a terminator (16 always do); nothing is written otherwise.
// It is written before the print server is asked, so a failed validation gives it too.
HALBRIN_EXPORT HelperResult HelperValidateAdapterResolved(const char* address, std::int32_t kind,
                                                          char* resolved, std::uint32_t resolvedSize);

// Gives a print server without an IP address its first one by a broadcast set over UDP, only where
// nothing else answers, and only as far as the card then answers there itself (each asked for its
// hardware address over UDP). 0 (also when the card already answers there), kHelperAddressInUse
// (another device answers at the address: nothing is sent), kHelperNoAnswer (not sent, or no
// error-free answer to this request in time), kHelperDecodeFailed (no answer, but a datagram that was
// none came), kHelperNotAtNewAddress or kHelperOtherAtNewAddress (the set was answered, but nothing or
// another device answers at the address), 1 or 2 (the request could not be encoded, also for arguments
// that are not an IPv4 address and 12 hex digits).
HALBRIN_EXPORT HelperResult HelperBcastSet(const char* ipAddress, const char* hardwareAddress);

// Sends one SNMP request built from the last six arguments (as for HelperFormSNMPPacket) to the
// address over UDP port 161 and waits for its answer. 0 when an error-free answer to it came, else 1.
HALBRIN_EXPORT HelperResult HelperSetTFTPParameters(const char* ipAddress, std::int32_t operation,
                                                    char* oidList, std::uint32_t oidListSize, char* values,
                                                    std::uint32_t* valuesSize, std::int32_t count);

// The print server's AppleTalk zones as "length,name," records (the last comma removed); size in: the
// buffer's size, out: the text's length, or the size needed with kHelperBufferTooSmall.
HALBRIN_EXPORT HelperResult HelperGetAppleTalkZones(const char* adapterName, char* buffer,
                                                    std::uint32_t* size);

// Does nothing; 0.
HALBRIN_EXPORT HelperResult HelperAppleTalkToAscii(std::intptr_t first, std::intptr_t second);

// This PC's first IPv4 address as dotted text; size in: the buffer's size (at least 16), out: the
// text's length. 0, or 1 with nothing written.
HALBRIN_EXPORT HelperResult HelperGetHostIPAddress(char* buffer, std::uint32_t* size);

// Asks a stored print server for its details again and stores them. 0 or 1.
HALBRIN_EXPORT HelperResult HelperGetIPSDetails(const char* adapterName);

// Reads the printer status code and the status text; textLength in: the buffer's size, out: the
// text's length.
HALBRIN_EXPORT HelperResult HelperGetPrinterStatusCode(const char* adapterName, std::int32_t* statusCode,
                                                       char* text, std::uint32_t* textLength);

// Writes 2 * count upper-case hex digits and a terminator.
HALBRIN_EXPORT void HexToAscii(char* text, const std::uint8_t* bytes, std::uint32_t count);

// Sends the bytes of the hex text (byteCount bytes, 2 digits each) as one octet-string value to the
// print server; the result of the exchange, or 25003 when the text does not hold that many digits.
HALBRIN_EXPORT HelperResult AsciiToHex(const char* hexText, std::uint32_t byteCount, const char* adapterName,
                                       std::int32_t operation, char* oidList, std::uint32_t oidListSize);

// Mode 1 (the low byte of mode): runs the port monitor's add-port dialog, owned by the window, and makes
// a raw CUPS queue of the same name on each port it added. 0; kHelperPortNotAdded when no port was
// added (cancelled); kHelperQueueNotMade when a port was added but CUPS refused its queue (CUPS's
// reason: plat::LastSpoolerError on the calling thread). Any other mode: kHelperNotOnThisPlatform.
HALBRIN_EXPORT HelperResult HelperInstallPrinter32(plat::WindowHandle owner, std::int32_t mode);

// Shows the printer's document settings dialog (the one the owning program gave the spooler layer),
// owned by the window, and stores what the person chose as the queue's defaults. 0 (also when the
// person cancelled: nothing is stored then), kHelperPrinterNotOpened, kHelperSettingsNotSaved.
HALBRIN_EXPORT HelperResult HelperDeviceSettings32(plat::WindowHandle owner, const char* printerName);

// With a command (1 pause, 2 resume, 3 cancel, 4 restart) steers the printer's job first; then writes
// the printer's jobs into the job list file named by "JobFile" under the PrintJobs key. The file's
// path goes into `path` when it fits *size bytes with its terminator, and *size becomes its size with
// the terminator, as the store gives it.
// 0; kHelperJobListFailed (printer not openable, job not on it, list or file not to be had, path too
// long for the buffer); kHelperJobCommandRefused; kHelperNoJobs (no file written); kHelperNoMemory.
HALBRIN_EXPORT HelperResult HelperRefreshJobQueue32(const char* printerName, std::int32_t command,
                                                    std::uint32_t jobId, char* path, std::uint32_t* size);
