#pragma once

#include <cstdint>

#include "platform/dlc/CompletionEvent.h"

// The DLC command interface (libvorlanedlc.so, loaded as "DLCAPI.DLL"): one entry point, AcsLan, that
// takes IEEE 802.2 commands as command blocks over the simulated LAN segment. Hardware addresses cross
// this interface in reversed bit order within each byte (the adapter's form); the segment itself
// carries them in canonical order.
//
// A command is issued by filling a DlcCommandBlock (all unused fields zero) and calling AcsLan.
// AcsLan answers 0 when it accepted the command: the status byte then reads kDlcStatusPending until
// the command completes, when the status is written and the block's event, if any, is set. Commands
// issued without an event that complete later (the transmits) are reported instead through a READ
// (transmit completion, the blocks chained through their next field). A refused command answers its
// status, which is also written into the block; its event, if any, is set as well, so that an issuer
// waiting on it never waits forever. A READ ended by READ.CANCEL reads kDlcStatusCancelledByUser but
// its event stays unset: an issuer that finds the event set after its cancel knows the READ completed
// with an event first.
//
// Station ids: a SAP's station id is its SAP value times 256; a link station of that SAP has the same
// high byte and its own number (1 to 255) in the low byte.
//
// Without a simulated LAN (VORLANE_LAN unset) every command is refused with kDlcStatusNotInstalled.
namespace plat {

// Command codes.
enum : std::uint8_t {
    kDlcDirOpenAdapter = 0x03,
    kDlcDirCloseAdapter = 0x04,
    kDlcTransmitIFrame = 0x0B,
    kDlcTransmitUiFrame = 0x0D,
    kDlcReset = 0x14,
    kDlcOpenSap = 0x15,
    kDlcCloseSap = 0x16,
    kDlcOpenStation = 0x19,
    kDlcCloseStation = 0x1A,
    kDlcConnectStation = 0x1B,
    kDlcDirStatus = 0x21,
    kDlcBufferFree = 0x27,
    kDlcReceive = 0x28,
    kDlcReceiveCancel = 0x29,
    kDlcBufferCreate = 0x30,
    kDlcRead = 0x31,
    kDlcReadCancel = 0x32,
};

// Command status (the block's status byte, and AcsLan's answer when it refuses a command).
enum : std::uint8_t {
    kDlcStatusSuccess = 0x00,
    kDlcStatusInvalidCommand = 0x01,
    kDlcStatusAdapterAlreadyOpen = 0x03,
    kDlcStatusAdapterClosed = 0x04,       // no adapter open under the block's application id
    kDlcStatusInvalidAdapter = 0x06,      // adapter number other than 0
    kDlcStatusNotInstalled = 0x09,        // no simulated LAN on this machine
    kDlcStatusCancelledByUser = 0x0A,     // READ.CANCEL or RECEIVE.CANCEL ended the command
    kDlcStatusNothingToCancel = 0x0B,     // READ.CANCEL of a READ that is no longer pending
    kDlcStatusInvalidParameter = 0x13,    // missing or malformed parameter table
    kDlcStatusNoBufferPool = 0x18,        // RECEIVE before BUFFER.CREATE, or a second BUFFER.CREATE
    kDlcStatusInvalidBuffer = 0x19,       // BUFFER.FREE of a buffer that is not a free-able pool buffer
    kDlcStatusInvalidFrameLength = 0x23,  // transmit larger than the segment carries
    kDlcStatusTransmitFailed = 0x24,      // the link was lost or closed before the frame was acknowledged
    kDlcStatusInvalidStationId = 0x40,    // unknown station, or its SAP or station was closed meanwhile
    kDlcStatusInvalidState = 0x41,        // e.g. an I-frame on a station that is not connected
    kDlcStatusStationExists = 0x42,       // a link station to that remote station and SAP is open already
    kDlcStatusConnectFailed = 0x44,       // the remote station did not answer the connect or refused it
    kDlcStatusSapInUse = 0x46,            // the SAP is open already, in this or another process
    kDlcStatusNoStations = 0x4D,          // the SAP has no link station left
    kDlcStatusPending = 0xFF,
};

// READ events (event set and event byte).
enum : std::uint8_t {
    kDlcEventCommandCompletion = 0x01,
    kDlcEventTransmitCompletion = 0x02,
    kDlcEventReceiveData = 0x04,
    kDlcEventStatusChange = 0x08,
    kDlcEventNetworkStatus = 0x10,
    kDlcEventCriticalException = 0x20,
    kDlcEventSystemAction = 0x40,
    kDlcEventAll = 0x7F,
};

// READ option indicator: which events a READ takes.
enum : std::uint8_t {
    kDlcReadStation = 0,  // events of exactly the given station
    kDlcReadSap = 1,      // events of the SAP of the given station id and of all its link stations
    kDlcReadAll = 2,      // every event of the application
};

// DLC status codes of a status change event (bits).
enum : std::uint16_t {
    kDlcLinkLost = 0x8000,
    kDlcDmOrDiscReceived = 0x4000,
    kDlcFrmrReceived = 0x2000,
    kDlcFrmrSent = 0x1000,
    kDlcSabmeReceivedOpen = 0x0800,  // the remote station reset an open link
    kDlcConnectRequest = 0x0400,     // a remote station asks to connect: a link station was opened for it
    kDlcRemoteBusy = 0x0200,
    kDlcRemoteBusyCleared = 0x0100,
    kDlcLocalBusy = 0x0001,
};

inline constexpr std::uint16_t kDlcAdapterTypeSegment = 0x0100;  // the adapter type DIR.STATUS reports
inline constexpr std::uint8_t kDlcSapIndividual = 0x04;          // DLC.OPEN.SAP option
inline constexpr std::uint16_t kDlcMaxFrameSize = 1496;          // data bytes of one frame

struct DlcCommandBlock;

// Parameter of a command block: the parameter table, or a station id (RECEIVE.CANCEL,
// DLC.CLOSE.SAP, DLC.CLOSE.STATION, DLC.RESET), or the READ to cancel (READ.CANCEL).
union DlcParameter {
    void* table;
    std::uint16_t stationId;
    DlcCommandBlock* readBlock;
};

struct DlcCommandBlock {
    std::uint8_t adapter;  // always 0
    std::uint8_t command;
    std::uint8_t status;  // kDlcStatusPending until completion
    std::uint8_t reserved1;
    DlcCommandBlock* next;  // chains completed transmits in a READ; free for the issuer otherwise
    std::uint32_t completionFlag;
    DlcParameter parameter;
    CompletionEvent* event;      // set on completion; null for RECEIVE and the transmits
    std::uint8_t applicationId;  // DIR.OPEN.ADAPTER writes the new id here
    std::uint8_t reserved2[7];
};

// DIR.OPEN.ADAPTER: the table is four pointers.
struct DlcAdapterParms {  // 42 bytes
    std::uint16_t openErrorCode;
    std::uint16_t openOptions;
    std::uint8_t nodeAddress[6];  // out: the adapter's address (reversed bit order)
    std::uint8_t groupAddress[4];
    std::uint8_t functionalAddress[4];
    std::uint16_t reserved1;
    std::uint16_t reserved2;
    std::uint16_t maxFrameSize;  // offset 22
    std::uint8_t reserved3[18];
};
static_assert(sizeof(DlcAdapterParms) == 42);

struct DlcExtendedParms {
    std::uint8_t reserved[12];
};

struct DlcParms {  // 10 bytes
    std::uint8_t maxSaps;
    std::uint8_t maxStations;
    std::uint8_t maxGroupSaps;
    std::uint8_t maxGroupMembers;
    std::uint8_t t1Tick1;
    std::uint8_t t2Tick1;
    std::uint8_t tiTick1;
    std::uint8_t t1Tick2;
    std::uint8_t t2Tick2;
    std::uint8_t tiTick2;
};
static_assert(sizeof(DlcParms) == 10);

struct DlcOpenAdapterParms {
    DlcAdapterParms* adapter;
    DlcExtendedParms* extended;
    DlcParms* dlc;
    void* reserved;
};

// BUFFER.CREATE: the caller's memory becomes the receive buffer pool of the adapter open; it must
// stay allocated until the adapter is closed.
struct DlcBufferCreateParms {
    void* poolHandle;  // out
    void* buffer;
    std::uint32_t bufferSize;
    std::uint32_t minimumFreeThreshold;
};

// DIR.STATUS.
struct DlcDirStatusParms {             // 52 bytes
    std::uint8_t permanentAddress[6];  // reversed bit order
    std::uint8_t nodeAddress[6];       // offset 6, reversed bit order
    std::uint8_t groupAddress[4];
    std::uint8_t functionalAddress[4];
    std::uint8_t maxSaps;
    std::uint8_t openSaps;
    std::uint8_t maxStations;
    std::uint8_t openStations;
    std::uint8_t availableStations;
    std::uint8_t adapterConfig;
    std::uint8_t reserved1[10];
    std::uint32_t reserved2;
    std::uint32_t reserved3;
    std::uint32_t maxFrameLength;
    std::uint16_t lastNetworkStatus;
    std::uint16_t adapterType;  // offset 50
};
static_assert(sizeof(DlcDirStatusParms) == 52);

// DLC.OPEN.SAP.
struct DlcOpenSapParms {
    std::uint16_t stationId;  // out
    std::uint16_t userStatusValue;
    std::uint8_t timerT1;
    std::uint8_t timerT2;
    std::uint8_t timerTi;
    std::uint8_t maxOut;
    std::uint8_t maxIn;
    std::uint8_t maxOutIncrement;
    std::uint8_t maxRetryCount;
    std::uint8_t maxMembers;
    std::uint16_t maxIField;
    std::uint8_t sapValue;
    std::uint8_t options;       // kDlcSapIndividual
    std::uint8_t stationCount;  // link stations the SAP may open
    std::uint8_t reserved1[2];
    std::uint8_t groupCount;
    std::uint8_t* groupList;
    std::uint32_t dlcStatusFlags;
    std::uint8_t reserved2[8];
    std::uint8_t linkStationsAvailable;  // out
};

// DLC.OPEN.STATION: opens a link station of a SAP towards a remote address and SAP (not yet
// connected). Zero timer, window and retry values take the adapter's defaults.
struct DlcOpenStationParms {
    std::uint16_t sapStationId;
    std::uint16_t linkStationId;  // out
    std::uint8_t timerT1;
    std::uint8_t timerT2;
    std::uint8_t timerTi;
    std::uint8_t maxOut;  // I-frames sent and not yet acknowledged
    std::uint8_t maxIn;
    std::uint8_t maxOutIncrement;
    std::uint8_t maxRetryCount;
    std::uint8_t remoteSap;
    std::uint16_t maxIField;
    std::uint8_t accessPriority;
    std::uint8_t* remoteNodeAddress;  // 6 bytes, reversed bit order
};

// DLC.CONNECT.STATION: connects an opened link station (or accepts the connect request that opened
// it). Completes when the remote station has answered.
struct DlcConnectStationParms {
    std::uint16_t stationId;
    std::uint16_t reserved;
    std::uint8_t* routingInfo;  // ignored: the segment has no source routing
};

// RECEIVE: stays pending for its station until RECEIVE.CANCEL or the station is closed; received
// frames are reported through READ.
struct DlcReceiveParms {
    std::uint16_t stationId;
    std::uint16_t userLength;
    std::uint32_t receiveFlag;  // echoed in the READ's notification flag of each received frame
    void* firstBuffer;
    std::uint8_t options;
    std::uint8_t reserved[3];
    std::uint8_t readOption;
};

// READ: completes with the first event of its set that concerns its station (see kDlcRead*).
struct DlcReadParms {
    std::uint16_t stationId;
    std::uint8_t optionIndicator;
    std::uint8_t eventSet;
    std::uint8_t event;  // out: one kDlcEvent* bit
    std::uint8_t criticalSubset;
    std::uint32_t notificationFlag;  // out: the completion flag of the command or RECEIVE concerned
    // out, transmit or command completion:
    std::uint16_t completedCommandCount;
    DlcCommandBlock* completedCommands;  // chained through their next field
    // out, received data:
    std::uint16_t bufferCount;  // buffers left free in the pool
    std::uint16_t receivedFrameCount;
    struct DlcBuffer* receivedFrame;  // first buffer of the frame
    // out, status change:
    std::uint16_t dlcStatusCode;  // kDlcLinkLost ...
    std::uint16_t statusStationId;
    std::uint8_t remoteNodeAddress[6];  // reversed bit order
    std::uint8_t remoteSap;
    std::uint8_t reserved;
};

// BUFFER.FREE: gives a chain of pool buffers (linked through next) back to the pool.
struct DlcBufferFreeParms {
    std::uint16_t reserved1;
    std::uint16_t buffersLeft;  // out: free buffers in the pool afterwards
    std::uint32_t reserved2;
    struct DlcBuffer* firstBuffer;
};

// TRANSMIT.UI.FRAME and TRANSMIT.I.FRAME. The frame is the first buffer followed by the second. For a
// UI frame the first buffer is the 14-byte LAN header (two zero bytes, the destination address in
// reversed bit order, six bytes for the source that the adapter fills in) and the second the data;
// for an I-frame both are data. Completion is reported by READ (kDlcEventTransmitCompletion): for a
// UI frame when it left the adapter, for an I-frame when the remote station acknowledged it.
struct DlcTransmitParms {
    std::uint16_t stationId;
    std::uint8_t transmitFs;
    std::uint8_t remoteSap;
    void* queue1;
    void* queue2;
    std::uint16_t firstLength;
    std::uint16_t secondLength;
    void* firstBuffer;
    void* secondBuffer;
    std::uint8_t readOption;
};

inline constexpr unsigned kDlcLanHeaderSize = 14;

// One buffer of the receive pool. A received frame is a chain of buffers linked through next; the
// headers are filled in the first buffer of the frame and the data spread over the chain.
inline constexpr unsigned kDlcBufferSize = 256;
struct DlcBuffer {
    DlcBuffer* next;                            // next buffer of the same frame, null in the last
    std::uint16_t frameLength;                  // data bytes of the whole frame
    std::uint16_t dataLength;                   // data bytes in this buffer
    std::uint16_t stationId;                    // station that received the frame
    std::uint8_t lanHeader[kDlcLanHeaderSize];  // 2 zero bytes, destination, source (reversed bit order)
    std::uint8_t dlcHeader[4];                  // DSAP, SSAP, control
    std::uint8_t reserved[8];
    std::uint8_t data[kDlcBufferSize - 40];
};
static_assert(sizeof(DlcBuffer) == kDlcBufferSize);
inline constexpr unsigned kDlcLanSourceOffset = 8;  // source address within lanHeader
inline constexpr unsigned kDlcSourceSapOffset = 1;  // source SAP within dlcHeader

using AcsLanEntry = std::uint32_t (*)(DlcCommandBlock* block);

}  // namespace plat

// 0 when the command was accepted; otherwise the status it was refused with.
extern "C" std::uint32_t AcsLan(plat::DlcCommandBlock* block);
