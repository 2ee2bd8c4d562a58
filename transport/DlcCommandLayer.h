#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "transport/DlcCommand.h"

// The IEEE 802.2 commands of the DLC interface ("DLCAPI.DLL", entry AcsLan), as every deliverable that
// carries this library issues them. State is per deliverable: each opens the adapter for itself,
// while the application id bgApplId is shared by the process (the last open's id is carried by every
// later command but those of a SAP already open, which keep the id it was opened under). Hardware addresses
// are canonical everywhere but at the adapter, where each byte's bits are reversed. Every wait is bounded.

using DlcResult = int;
enum : DlcResult {
    kDlcOk = 0,
    kDlcFailed = 1,  // DLC missing, the command refused or failed, or a wait ran out
    kDlcNoMemory = 2,
    kDlcWrongAdapter = 3,   // the adapter is not of type 0x0100
    kDlcTimedOut = 4,       // no frame within the time-out
    kDlcFrameTooLarge = 5,  // the frame did not fit the caller's buffer (it is dropped)
    kDlcNoFrame = 6,        // no received frame queued (asynchronous DLC transport)
    kDlcLinkError = 7,      // the READ failed, or the link was lost, got DM/DISC or FRMR
};

inline constexpr int kDlcAddressBytes = 6;
// The receive pool: 512 buffers, room for the answers of some hundreds of print servers to one
// broadcast while the reader thread takes them out.
inline constexpr std::uint32_t kDlcPoolSize = 131072;

// Bit order of hardware addresses: bit 0 becomes bit 7.
std::uint8_t ReverseBits(std::uint8_t value);
void ReverseBitsInBuffer(std::uint8_t* bytes, std::size_t count);

// Loads the DLC interface, opens adapter 0 (storing its id in bgApplId), reads its status and
// creates the receive buffer pool. 0 ready; 1 when already loaded (nothing is done), when DLC is not
// installed or a command fails; 3 when the adapter is of another type; 2 out of memory. The adapter
// is closed again on failure.
DlcResult DlcInitialize();
DlcResult DlcOpenAdapter();
DlcResult DlcReadAdapterStatus();
DlcResult DlcCreateBuffers(std::uint32_t size);
// Closes the adapter that this deliverable opened (not another's that bgApplId may name by now).
void DlcCloseAdapter();
// The unload step of a deliverable that carries the layer: closes its adapter, which ends every
// command still pending there, frees those commands and the buffer pool, and frees the DLC interface.
// When the adapter cannot be closed everything it may still use stays. The layer's state is never
// destroyed with the static objects, so this may run after them, as at process exit.
void DlcUnload();

// True when AcsLan is bound: DLC commands can be issued at all.
bool DlcAvailable();
// The adapter's own address (canonical), read by DlcReadAdapterStatus; false before that.
bool DlcAdapterAddress(std::uint8_t* address);

// Opens an individual SAP on adapter 0 and gives its station id. 0, or 1 when refused (e.g. in use).
DlcResult DlcOpenSap(std::uint8_t sap, std::uint16_t* stationId);
// Closes a SAP (command 0x16) or a link station (0x1A), waiting at most 10 s, and retires the
// RECEIVEs of what it closed.
DlcResult DlcCloseSap(std::uint8_t command, std::uint16_t stationId);
// Posts the station's RECEIVE, which stays pending until DlcCancelReceive or the station is closed.
DlcResult DlcReceive(std::uint16_t stationId);
DlcResult DlcCancelReceive(std::uint16_t stationId);
// Hands every station's RECEIVE to DlcRetire (the adapter was closed: they have ended).
void DlcRetireAllReceives();

// Issues a READ for the events of the station's SAP (eventSet: kDlcEvent* bits) and gives it to the
// caller, who waits on its event and then hands it to DlcRetire or releases it; null when it cannot
// be issued.
std::unique_ptr<DlcReadCommand> DlcRead(std::uint16_t stationId, std::uint8_t eventSet = plat::kDlcEventAll);
// Cancels a pending READ; 0 when the cancel completed, and the READ is then ended: its event is set
// and its status reads kDlcStatusCancelledByUser.
DlcResult DlcCancelRead(DlcReadCommand& read);

// Waits at most `seconds` for one frame received by the station and copies it out, freeing its
// buffers. Transmit completions met on the way are released. 0, 1, 4, 5 or 7. sender (6 bytes,
// canonical) and senderSap may be null.
DlcResult DlcWaitFrame(void* buffer, std::uint32_t size, std::uint32_t* length, std::uint8_t* sender,
                       std::uint8_t* senderSap, std::uint16_t stationId, std::uint32_t seconds);
// The length of the frame a completed READ reports, over all its buffers.
std::uint32_t DlcFrameLength(const plat::DlcReadParms& read);
// Copies the frame a completed READ reports into the buffer and frees the frame's buffers. 0, or 5
// when it does not fit (the bytes that fitted are copied and counted).
DlcResult DlcCopyFrame(const plat::DlcReadParms& read, void* buffer, std::uint32_t size,
                       std::uint32_t* length, std::uint8_t* sender, std::uint8_t* senderSap);
// Gives a received frame's buffers back to the pool.
DlcResult DlcFreeBuffer(plat::DlcBuffer* firstBuffer);

// Sends one UI frame from the station to a hardware address (canonical) and remote SAP. The frame's
// data is copied: the transmit owns it until its completion is read. 0 accepted, 1 refused or DLC
// missing, 2 out of memory.
DlcResult DlcTransmitUiFrame(std::uint16_t stationId, const void* data, std::uint32_t length,
                             const std::uint8_t* destination, std::uint8_t remoteSap);
// Sends one I-frame on a connected link station, likewise copied.
DlcResult DlcTransmitIFrame(std::uint16_t stationId, const void* data, std::uint32_t length);
// Frees the completed transmits that a READ lists and answers their number.
int DlcFreeTransmitCompletions(const plat::DlcReadParms& read);
// Transmits of the station (or of its SAP's link stations too, with wholeSap) not yet completed.
int DlcTransmitsInFlight(std::uint16_t stationId, bool wholeSap);
// Called with the number of transmits that each DlcFreeTransmitCompletions released (the port monitor
// counts its outstanding I-frames with it); null for none.
void DlcSetTransmitCompletionHook(void (*hook)(int completed));
// Reads and frees the station's transmit completions until none is in flight or timeoutMs passed
// (before a station is closed, so that no transmit outlives it unread).
void DlcCollectTransmits(std::uint16_t stationId, std::uint32_t timeoutMs);
// Frees the transmits in flight that have completed, whose completion no READ will read any more
// (the adapter was closed).
void DlcReleaseCompletedTransmits();
