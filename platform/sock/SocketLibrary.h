#pragma once

#include <cstdint>

#include "platform/window/Window.h"

// The socket library (libvorlanesock.so), loaded by the names "wsock32.dll", "ws2_32.dll" and
// "winsock.dll". Every entry point is exported as "vorsock_" + its name, so that it never stands in
// for the C library's function of the same name; plat::ModuleSymbol(module, "bind") finds
// vorsock_bind. Family 2 (IPv4) runs over the host's sockets, family 6 (IPX datagrams and SPX streams)
// over the simulated LAN segment.
//
// A family 6 socket bound to network 0 and node 0 is the PC's station (VORLANE_STATION or the
// machine's own); bound to another node it acts as that station, as the simulated print servers do.
// Without a simulated LAN (VORLANE_LAN unset) no family 6 socket can be made (kWsaEafnosupport).
// Asynchronous notices work for every socket except a listening SPX socket.
//
// Conventions of the interface: functions answer kSocketError (-1) or kInvalidSocket on failure and
// leave the reason for vorsock_WSAGetLastError (per thread). Byte orders, option numbers and address
// layouts are those of the interface, not of the host.
namespace plat {

using SocketHandle = std::uint32_t;  // our own small numbers, never 0
inline constexpr SocketHandle kInvalidSocket = 0xFFFFFFFFu;
inline constexpr int kSocketError = -1;

// Address families, socket types and protocols.
enum : int {
    kAfInet = 2,
    kAfIpx = 6,
    kSockStream = 1,
    kSockDgram = 2,
    kSockSeqPacket = 5,
    kIpProtoTcp = 6,
    kIpProtoUdp = 17,
    kNsProtoIpx = 1000,  // + packet type: 1004 is the IPX datagram protocol the suite uses
    kNsProtoSpx = 1256,
    kNsProtoSpxII = 1257,
};

// Socket addresses. Every form starts with the 16-bit family in host order.
struct SocketAddress {
    std::uint16_t family;
    char data[14];
};

struct InetAddress {
    std::uint32_t address;  // network order
};
inline constexpr std::uint32_t kInaddrAny = 0;
inline constexpr std::uint32_t kInaddrNone = 0xFFFFFFFFu;
inline constexpr std::uint32_t kInaddrBroadcast = 0xFFFFFFFFu;

struct SocketAddressIn {   // 16 bytes
    std::uint16_t family;  // kAfInet
    std::uint16_t port;    // network order
    InetAddress address;
    char zero[8];
};
static_assert(sizeof(SocketAddressIn) == 16);

struct SocketAddressIpx {  // 14 bytes
    std::uint16_t family;  // kAfIpx
    std::uint8_t network[4];
    std::uint8_t node[6];
    std::uint16_t socket;  // network order
};
static_assert(sizeof(SocketAddressIpx) == 14);

// Sets of sockets for vorsock_select.
inline constexpr unsigned kFdSetSize = 64;
struct FdSet {
    std::uint32_t count;
    SocketHandle sockets[kFdSetSize];
};

inline void FdZero(FdSet& set) {
    set.count = 0;
}
inline void FdAdd(SocketHandle socket, FdSet& set) {
    for (std::uint32_t i = 0; i < set.count; ++i) {
        if (set.sockets[i] == socket) {
            return;
        }
    }
    if (set.count < kFdSetSize) {
        set.sockets[set.count++] = socket;
    }
}
inline bool FdIsSet(SocketHandle socket, const FdSet& set) {
    for (std::uint32_t i = 0; i < set.count && i < kFdSetSize; ++i) {
        if (set.sockets[i] == socket) {
            return true;
        }
    }
    return false;
}

struct TimeValue {
    std::int32_t seconds;
    std::int32_t microseconds;
};

// Options and commands.
enum : int {
    kSolSocket = 0xFFFF,
    kSoReuseAddr = 0x0004,
    kSoKeepAlive = 0x0008,
    kSoBroadcast = 0x0020,
    kSoLinger = 0x0080,
    kSoDontLinger = ~0x0080,
    kSoSndBuf = 0x1001,
    kSoRcvBuf = 0x1002,
    kSoSndTimeo = 0x1005,  // milliseconds, 32-bit
    kSoRcvTimeo = 0x1006,
    kSoError = 0x1007,
    kSoType = 0x1008,
    kTcpNoDelay = 0x0001,  // level kIpProtoTcp
};

struct Linger {
    std::uint16_t onOff;
    std::uint16_t seconds;
};

inline constexpr long kFionbio = static_cast<long>(0x8004667Eu);  // argument: 0 blocking, else non-blocking
inline constexpr long kFionread = 0x4004667F;                     // out: bytes ready to read

enum : int { kMsgOob = 0x1, kMsgPeek = 0x2, kMsgPartial = 0x8000 };
enum : int { kShutReceive = 0, kShutSend = 1, kShutBoth = 2 };

// Error numbers (vorsock_WSAGetLastError).
enum : int {
    kWsaEintr = 10004,
    kWsaEbadf = 10009,
    kWsaEacces = 10013,
    kWsaEfault = 10014,
    kWsaEinval = 10022,
    kWsaEmfile = 10024,
    kWsaEwouldblock = 10035,
    kWsaEinprogress = 10036,
    kWsaEalready = 10037,
    kWsaEnotsock = 10038,
    kWsaEdestaddrreq = 10039,
    kWsaEmsgsize = 10040,
    kWsaEprototype = 10041,
    kWsaEnoprotoopt = 10042,
    kWsaEprotonosupport = 10043,
    kWsaEsocktnosupport = 10044,
    kWsaEopnotsupp = 10045,
    kWsaEafnosupport = 10047,
    kWsaEaddrinuse = 10048,
    kWsaEaddrnotavail = 10049,
    kWsaEnetdown = 10050,
    kWsaEnetunreach = 10051,
    kWsaEnetreset = 10052,
    kWsaEconnaborted = 10053,
    kWsaEconnreset = 10054,
    kWsaEnobufs = 10055,
    kWsaEisconn = 10056,
    kWsaEnotconn = 10057,
    kWsaEshutdown = 10058,
    kWsaEtimedout = 10060,
    kWsaEconnrefused = 10061,
    kWsaEhostdown = 10064,
    kWsaEhostunreach = 10065,
    kWsaSysnotready = 10091,
    kWsaVernotsupported = 10092,
    kWsaNotinitialised = 10093,
    kWsaHostNotFound = 11001,
    kWsaTryAgain = 11002,
    kWsaNoRecovery = 11003,
    kWsaNoData = 11004,
};

// Library start-up data (vorsock_WSAStartup).
struct SocketsData {
    std::uint16_t version;  // low byte major, high byte minor
    std::uint16_t highVersion;
    char description[257];
    char systemStatus[129];
    std::uint16_t maxSockets;
    std::uint16_t maxUdpDatagram;
    char* vendorInfo;
};

inline constexpr std::uint16_t MakeVersion(std::uint8_t major, std::uint8_t minor) {
    return static_cast<std::uint16_t>(major | (minor << 8));
}

// Name database entries. Returned pointers refer to storage of the calling thread that the next
// lookup of the same kind on that thread overwrites.
struct HostEntry {
    char* name;
    char** aliases;
    std::int16_t addressType;  // kAfInet
    std::int16_t length;       // 4
    char** addresses;          // null-terminated list of 4-byte addresses in network order
};

struct ServiceEntry {
    char* name;
    char** aliases;
    std::int16_t port;  // network order
    char* protocol;
};

struct ProtocolEntry {
    char* name;
    char** aliases;
    std::int16_t number;
};

// Asynchronous lookups: the buffer for the answer should be at least this big.
inline constexpr int kMaxGetHostStruct = 1024;
using AsyncHandle = std::uintptr_t;  // 0 on failure
// lParam of the completion message: buffer length needed (low word), error (high word).
inline constexpr std::uint16_t AsyncBufferLength(LParam lParam) {
    return lParam & 0xFFFF;
}
inline constexpr std::uint16_t AsyncError(LParam lParam) {
    return (lParam >> 16) & 0xFFFF;
}

using BlockingHook = int (*)();

}  // namespace plat

// The entry points (SocketEntryPoints.def), each exported as "vorsock_" + its name. Of note:
// - vorsock_WSAAsyncSelect's events: plat::kFdRead | kFdWrite | kFdAccept | kFdConnect | kFdClose; 0
//   stops the notices. The socket is made non-blocking.
// - vorsock_WSARecvEx works as recv; for a datagram larger than the buffer, *flags gets kMsgPartial and
//   the first part is given.
extern "C" {
#define VORSOCK_ENTRY(Result, name, parameters, arguments, failure) Result vorsock_##name parameters;
#include "platform/sock/SocketEntryPoints.def"
}
