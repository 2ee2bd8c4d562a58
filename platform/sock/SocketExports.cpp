// The entry points of the socket library: their bodies, and the exports made from the list.
#include <arpa/inet.h>
#include <unistd.h>

#include <cstring>

#include "platform/lan/LanSettings.h"
#include "platform/services/ExportGuard.h"
#include "platform/sock/HostSocket.h"
#include "platform/sock/IpxSocket.h"
#include "platform/sock/NameDatabase.h"
#include "platform/sock/SelectCall.h"
#include "platform/sock/SocketError.h"
#include "platform/sock/SocketLibrary.h"
#include "platform/sock/SocketTable.h"
#include "platform/sock/SpxSocket.h"

using namespace plat;

namespace {

constexpr std::uint16_t kVersion = MakeVersion(1, 1);

std::shared_ptr<LibrarySocket> Find(SocketHandle s) {
    auto socket = SocketTable::Get().Find(s);
    if (!socket) {
        SetSocketError(kWsaEnotsock);
    }
    return socket;
}

bool Started() {
    if (!SocketTable::Get().Started()) {
        SetSocketError(kWsaNotinitialised);
        return false;
    }
    return true;
}

std::shared_ptr<LibrarySocket> MakeIpxSocket(int type, int protocol, int& error) {
    if (!LanConfigured()) {
        error = kWsaEafnosupport;  // no IPX on this machine
        return nullptr;
    }
    if (type == kSockDgram && (protocol == 0 || (protocol >= kNsProtoIpx && protocol <= kNsProtoIpx + 255))) {
        return std::make_shared<IpxSocket>(
            static_cast<std::uint8_t>(protocol == 0 ? 0 : protocol - kNsProtoIpx));
    }
    if ((type == kSockStream || type == kSockSeqPacket) &&
        (protocol == 0 || protocol == kNsProtoSpx || protocol == kNsProtoSpxII)) {
        return std::make_shared<SpxSocket>(type);
    }
    error = type == kSockDgram || type == kSockStream || type == kSockSeqPacket ? kWsaEprotonosupport
                                                                                : kWsaEsocktnosupport;
    return nullptr;
}

SocketHandle Register(std::shared_ptr<LibrarySocket> socket) {
    SocketHandle handle = SocketTable::Get().Add(socket);
    if (handle == kInvalidSocket) {
        socket->Close();
        SetSocketError(kWsaEmfile);
    }
    return handle;
}

// The thread's last error when an entry point stopped on an exception.
int FaultError(ExportFault fault) {
    return fault == ExportFault::kNoMemory ? kWsaEnobufs : kWsaEnetdown;
}

// The entry points' bodies, named as the exports that run them.
namespace body {

SocketHandle vorsock_accept(SocketHandle s, SocketAddress* address, int* addressLength) {
    auto socket = Find(s);
    if (!socket) {
        return kInvalidSocket;
    }
    auto accepted = socket->Accept(address, addressLength);
    return accepted ? Register(std::move(accepted)) : kInvalidSocket;
}

int vorsock_bind(SocketHandle s, const SocketAddress* address, int addressLength) {
    auto socket = Find(s);
    return socket ? socket->Bind(address, addressLength) : kSocketError;
}

int vorsock_closesocket(SocketHandle s) {
    auto socket = SocketTable::Get().Remove(s);
    if (!socket) {
        return Fail(kWsaEnotsock);
    }
    socket->Close();
    return 0;
}

int vorsock_connect(SocketHandle s, const SocketAddress* address, int addressLength) {
    auto socket = Find(s);
    return socket ? socket->Connect(address, addressLength) : kSocketError;
}

int vorsock_ioctlsocket(SocketHandle s, long command, std::uint32_t* argument) {
    auto socket = Find(s);
    return socket ? socket->Ioctl(command, argument) : kSocketError;
}

int vorsock_getpeername(SocketHandle s, SocketAddress* address, int* addressLength) {
    auto socket = Find(s);
    return socket ? socket->GetPeer(address, addressLength) : kSocketError;
}

int vorsock_getsockname(SocketHandle s, SocketAddress* address, int* addressLength) {
    auto socket = Find(s);
    return socket ? socket->GetName(address, addressLength) : kSocketError;
}

int vorsock_getsockopt(SocketHandle s, int level, int option, char* value, int* valueLength) {
    auto socket = Find(s);
    return socket ? socket->GetOption(level, option, value, valueLength) : kSocketError;
}

std::uint32_t vorsock_htonl(std::uint32_t value) {
    return htonl(value);
}

std::uint16_t vorsock_htons(std::uint16_t value) {
    return htons(value);
}

std::uint32_t vorsock_inet_addr(const char* text) {
    in_addr address{};
    // Dotted text in any of the interface's forms: one to four parts, decimal, octal or hexadecimal.
    if (text == nullptr || inet_aton(text, &address) == 0) {
        return kInaddrNone;
    }
    return address.s_addr;
}

char* vorsock_inet_ntoa(InetAddress address) {
    thread_local char text[INET_ADDRSTRLEN];
    in_addr host{address.address};
    return inet_ntop(AF_INET, &host, text, sizeof text) != nullptr ? text : nullptr;
}

int vorsock_listen(SocketHandle s, int backlog) {
    auto socket = Find(s);
    return socket ? socket->Listen(backlog) : kSocketError;
}

std::uint32_t vorsock_ntohl(std::uint32_t value) {
    return ntohl(value);
}

std::uint16_t vorsock_ntohs(std::uint16_t value) {
    return ntohs(value);
}

int vorsock_recv(SocketHandle s, char* buffer, int length, int flags) {
    auto socket = Find(s);
    return socket ? socket->Receive(buffer, length, flags, nullptr, nullptr, nullptr) : kSocketError;
}

int vorsock_recvfrom(SocketHandle s, char* buffer, int length, int flags, SocketAddress* from,
                     int* fromLength) {
    auto socket = Find(s);
    return socket ? socket->Receive(buffer, length, flags, from, fromLength, nullptr) : kSocketError;
}

int vorsock_select(int, FdSet* readSet, FdSet* writeSet, FdSet* exceptSet, const TimeValue* timeout) {
    return SelectSockets(readSet, writeSet, exceptSet, timeout);
}

int vorsock_send(SocketHandle s, const char* buffer, int length, int flags) {
    auto socket = Find(s);
    return socket ? socket->Send(buffer, length, flags) : kSocketError;
}

int vorsock_sendto(SocketHandle s, const char* buffer, int length, int flags, const SocketAddress* to,
                   int toLength) {
    auto socket = Find(s);
    return socket ? socket->SendTo(buffer, length, flags, to, toLength) : kSocketError;
}

int vorsock_setsockopt(SocketHandle s, int level, int option, const char* value, int valueLength) {
    auto socket = Find(s);
    return socket ? socket->SetOption(level, option, value, valueLength) : kSocketError;
}

int vorsock_shutdown(SocketHandle s, int how) {
    auto socket = Find(s);
    return socket ? socket->Shutdown(how) : kSocketError;
}

SocketHandle vorsock_socket(int family, int type, int protocol) {
    if (!Started()) {
        return kInvalidSocket;
    }
    int error = kWsaEafnosupport;
    std::shared_ptr<LibrarySocket> socket;
    if (family == kAfInet) {
        socket = HostSocket::Create(type, protocol, error);
    } else if (family == kAfIpx) {
        socket = MakeIpxSocket(type, protocol, error);
    }
    if (!socket) {
        SetSocketError(error);
        return kInvalidSocket;
    }
    return Register(std::move(socket));
}

HostEntry* vorsock_gethostbyaddr(const char* address, int length, int type) {
    return Started() ? HostByAddress(address, length, type) : nullptr;
}

HostEntry* vorsock_gethostbyname(const char* name) {
    return Started() ? HostByName(name) : nullptr;
}

int vorsock_gethostname(char* name, int length) {
    if (!Started()) {
        return kSocketError;
    }
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    if (name == nullptr || length <= static_cast<int>(std::strlen(host))) {
        return Fail(kWsaEfault);
    }
    std::strcpy(name, host);
    return 0;
}

ServiceEntry* vorsock_getservbyport(int port, const char* protocol) {
    return Started() ? ServiceByPort(port, protocol) : nullptr;
}

ServiceEntry* vorsock_getservbyname(const char* name, const char* protocol) {
    return Started() ? ServiceByName(name, protocol) : nullptr;
}

ProtocolEntry* vorsock_getprotobynumber(int number) {
    return Started() ? ProtocolByNumber(number) : nullptr;
}

ProtocolEntry* vorsock_getprotobyname(const char* name) {
    return Started() ? ProtocolByName(name) : nullptr;
}

int vorsock_WSAStartup(std::uint16_t version, SocketsData* data) {
    std::uint8_t major = version & 0xFF;
    std::uint8_t minor = version >> 8;
    if (major < 1 || (major == 1 && minor < 1)) {
        return kWsaVernotsupported;
    }
    if (data == nullptr) {
        return kWsaEfault;
    }
    *data = SocketsData{};
    data->version = kVersion;
    data->highVersion = kVersion;
    std::strcpy(data->description, "Vorlane sockets: IPv4 and the simulated LAN's IPX/SPX");
    std::strcpy(data->systemStatus, "Running");
    data->maxSockets = static_cast<std::uint16_t>(kMaxSockets);
    data->maxUdpDatagram = 65467;
    SocketTable::Get().Start();
    return 0;
}

int vorsock_WSACleanup() {
    return SocketTable::Get().Stop() ? 0 : Fail(kWsaNotinitialised);
}

void vorsock_WSASetLastError(int error) {
    SetSocketError(error);
}

int vorsock_WSAGetLastError() {
    return GetSocketError();
}

int vorsock_WSAIsBlocking() {
    return 0;
}  // no call of this library waits in a blocking hook

int vorsock_WSAUnhookBlockingHook() {
    return 0;
}

BlockingHook vorsock_WSASetBlockingHook(BlockingHook) {
    return nullptr;
}

int vorsock_WSACancelBlockingCall() {
    return Fail(kWsaEinval);
}  // no blocking call of the thread in a hook

AsyncHandle vorsock_WSAAsyncGetServByName(WindowHandle window, std::uint32_t message, const char* name,
                                          const char* protocol, char* buffer, int bufferLength) {
    return Started() ? AsyncServiceByName(window, message, name, protocol, buffer, bufferLength) : 0;
}

AsyncHandle vorsock_WSAAsyncGetServByPort(WindowHandle window, std::uint32_t message, int port,
                                          const char* protocol, char* buffer, int bufferLength) {
    return Started() ? AsyncServiceByPort(window, message, port, protocol, buffer, bufferLength) : 0;
}

AsyncHandle vorsock_WSAAsyncGetProtoByName(WindowHandle window, std::uint32_t message, const char* name,
                                           char* buffer, int bufferLength) {
    return Started() ? AsyncProtocolByName(window, message, name, buffer, bufferLength) : 0;
}

AsyncHandle vorsock_WSAAsyncGetProtoByNumber(WindowHandle window, std::uint32_t message, int number,
                                             char* buffer, int bufferLength) {
    return Started() ? AsyncProtocolByNumber(window, message, number, buffer, bufferLength) : 0;
}

AsyncHandle vorsock_WSAAsyncGetHostByName(WindowHandle window, std::uint32_t message, const char* name,
                                          char* buffer, int bufferLength) {
    return Started() ? AsyncHostByName(window, message, name, buffer, bufferLength) : 0;
}

AsyncHandle vorsock_WSAAsyncGetHostByAddr(WindowHandle window, std::uint32_t message, const char* address,
                                          int length, int type, char* buffer, int bufferLength) {
    return Started() ? AsyncHostByAddress(window, message, address, length, type, buffer, bufferLength) : 0;
}

int vorsock_WSACancelAsyncRequest(AsyncHandle request) {
    return CancelAsyncLookup(request);
}

int vorsock_WSAAsyncSelect(SocketHandle s, WindowHandle window, std::uint32_t message, long events) {
    auto socket = Find(s);
    return socket ? socket->AsyncSelect(s, window, message, events) : kSocketError;
}

int vorsock_WSARecvEx(SocketHandle s, char* buffer, int length, int* flags) {
    auto socket = Find(s);
    if (!socket) {
        return kSocketError;
    }
    if (flags == nullptr) {
        return Fail(kWsaEfault);
    }
    bool partial = false;
    int got = socket->Receive(buffer, length, *flags, nullptr, nullptr, &partial);
    if (got >= 0) {
        *flags = partial ? kMsgPartial : 0;
    }
    return got;
}

}  // namespace body
}  // namespace

// Every export runs its body behind the export guard: an exception becomes the entry point's failure.
#define VORSOCK_ENTRY(Result, name, parameters, arguments, failure)                   \
    extern "C" Result vorsock_##name parameters {                                     \
        auto fail = [](ExportFault fault) {                                           \
            SetSocketError(FaultError(fault));                                        \
            return static_cast<Result>(failure);                                      \
        };                                                                            \
        return GuardExportWith(fail, [&] { return body::vorsock_##name arguments; }); \
    }
#include "platform/sock/SocketEntryPoints.def"
