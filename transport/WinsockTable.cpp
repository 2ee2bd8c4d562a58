#include "transport/WinsockTable.h"

#include "platform/sock/SocketEntryPoints.h"

namespace {

constexpr const char* kLibraryNames[] = {"wsock32.dll", "ws2_32.dll", "winsock.dll"};

}  // namespace

WinsockTable::WinsockTable() {
    static_assert(plat::kSocketEntryPointCount == kSlotCount);
    for (const char* name : kLibraryNames) {
        module_ = plat::LoadModule(name);
        if (module_ != nullptr) {
            break;
        }
    }
    if (module_ == nullptr) {
        return;
    }
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        entries_[slot] = plat::ModuleSymbol(module_, plat::kSocketEntryPoints[slot]);
    }
}

WinsockTable::~WinsockTable() {
    plat::FreeModule(module_);
}

plat::SocketHandle WinsockTable::accept(plat::SocketHandle s, plat::SocketAddress* address,
                                        int* addressLength) {
    return Call<decltype(vorsock_accept)>(Slot::kAccept, plat::kInvalidSocket, s, address, addressLength);
}

int WinsockTable::bind(plat::SocketHandle s, const plat::SocketAddress* address, int addressLength) {
    return Call<decltype(vorsock_bind)>(Slot::kBind, plat::kSocketError, s, address, addressLength);
}

int WinsockTable::closesocket(plat::SocketHandle s) {
    return Call<decltype(vorsock_closesocket)>(Slot::kClosesocket, plat::kSocketError, s);
}

int WinsockTable::connect(plat::SocketHandle s, const plat::SocketAddress* address, int addressLength) {
    return Call<decltype(vorsock_connect)>(Slot::kConnect, plat::kSocketError, s, address, addressLength);
}

int WinsockTable::ioctlsocket(plat::SocketHandle s, long command, std::uint32_t* argument) {
    return Call<decltype(vorsock_ioctlsocket)>(Slot::kIoctlsocket, plat::kSocketError, s, command, argument);
}

int WinsockTable::getpeername(plat::SocketHandle s, plat::SocketAddress* address, int* addressLength) {
    return Call<decltype(vorsock_getpeername)>(Slot::kGetpeername, plat::kSocketError, s, address,
                                               addressLength);
}

int WinsockTable::getsockname(plat::SocketHandle s, plat::SocketAddress* address, int* addressLength) {
    return Call<decltype(vorsock_getsockname)>(Slot::kGetsockname, plat::kSocketError, s, address,
                                               addressLength);
}

int WinsockTable::getsockopt(plat::SocketHandle s, int level, int option, char* value, int* valueLength) {
    return Call<decltype(vorsock_getsockopt)>(Slot::kGetsockopt, plat::kSocketError, s, level, option, value,
                                              valueLength);
}

std::uint32_t WinsockTable::htonl(std::uint32_t value) {
    return Call<decltype(vorsock_htonl)>(Slot::kHtonl, kNetworkDown, value);
}

std::uint16_t WinsockTable::htons(std::uint16_t value) {
    return Call<decltype(vorsock_htons)>(Slot::kHtons, kNetworkDown, value);
}

std::uint32_t WinsockTable::inet_addr(const char* text) {
    return Call<decltype(vorsock_inet_addr)>(Slot::kInet_addr, plat::kInaddrNone, text);
}

char* WinsockTable::inet_ntoa(plat::InetAddress address) {
    return Call<decltype(vorsock_inet_ntoa)>(Slot::kInet_ntoa, nullptr, address);
}

int WinsockTable::listen(plat::SocketHandle s, int backlog) {
    return Call<decltype(vorsock_listen)>(Slot::kListen, plat::kSocketError, s, backlog);
}

std::uint32_t WinsockTable::ntohl(std::uint32_t value) {
    return Call<decltype(vorsock_ntohl)>(Slot::kNtohl, kNetworkDown, value);
}

std::uint16_t WinsockTable::ntohs(std::uint16_t value) {
    return Call<decltype(vorsock_ntohs)>(Slot::kNtohs, kNetworkDown, value);
}

int WinsockTable::recv(plat::SocketHandle s, char* buffer, int length, int flags) {
    return Call<decltype(vorsock_recv)>(Slot::kRecv, plat::kSocketError, s, buffer, length, flags);
}

int WinsockTable::recvfrom(plat::SocketHandle s, char* buffer, int length, int flags,
                           plat::SocketAddress* from, int* fromLength) {
    return Call<decltype(vorsock_recvfrom)>(Slot::kRecvfrom, plat::kSocketError, s, buffer, length, flags,
                                            from, fromLength);
}

int WinsockTable::select(int ignored, plat::FdSet* readSet, plat::FdSet* writeSet, plat::FdSet* exceptSet,
                         const plat::TimeValue* timeout) {
    return Call<decltype(vorsock_select)>(Slot::kSelect, plat::kSocketError, ignored, readSet, writeSet,
                                          exceptSet, timeout);
}

int WinsockTable::send(plat::SocketHandle s, const char* buffer, int length, int flags) {
    return Call<decltype(vorsock_send)>(Slot::kSend, plat::kSocketError, s, buffer, length, flags);
}

int WinsockTable::sendto(plat::SocketHandle s, const char* buffer, int length, int flags,
                         const plat::SocketAddress* to, int toLength) {
    return Call<decltype(vorsock_sendto)>(Slot::kSendto, plat::kSocketError, s, buffer, length, flags, to,
                                          toLength);
}

int WinsockTable::setsockopt(plat::SocketHandle s, int level, int option, const char* value,
                             int valueLength) {
    return Call<decltype(vorsock_setsockopt)>(Slot::kSetsockopt, plat::kSocketError, s, level, option, value,
                                              valueLength);
}

int WinsockTable::shutdown(plat::SocketHandle s, int how) {
    return Call<decltype(vorsock_shutdown)>(Slot::kShutdown, plat::kSocketError, s, how);
}

plat::SocketHandle WinsockTable::socket(int family, int type, int protocol) {
    return Call<decltype(vorsock_socket)>(Slot::kSocket, plat::kInvalidSocket, family, type, protocol);
}

plat::HostEntry* WinsockTable::gethostbyaddr(const char* address, int length, int type) {
    return Call<decltype(vorsock_gethostbyaddr)>(Slot::kGethostbyaddr, nullptr, address, length, type);
}

plat::HostEntry* WinsockTable::gethostbyname(const char* name) {
    return Call<decltype(vorsock_gethostbyname)>(Slot::kGethostbyname, nullptr, name);
}

int WinsockTable::gethostname(char* name, int length) {
    return Call<decltype(vorsock_gethostname)>(Slot::kGethostname, plat::kSocketError, name, length);
}

plat::ServiceEntry* WinsockTable::getservbyport(int port, const char* protocol) {
    return Call<decltype(vorsock_getservbyport)>(Slot::kGetservbyport, nullptr, port, protocol);
}

plat::ServiceEntry* WinsockTable::getservbyname(const char* name, const char* protocol) {
    return Call<decltype(vorsock_getservbyname)>(Slot::kGetservbyname, nullptr, name, protocol);
}

plat::ProtocolEntry* WinsockTable::getprotobynumber(int number) {
    return Call<decltype(vorsock_getprotobynumber)>(Slot::kGetprotobynumber, nullptr, number);
}

plat::ProtocolEntry* WinsockTable::getprotobyname(const char* name) {
    return Call<decltype(vorsock_getprotobyname)>(Slot::kGetprotobyname, nullptr, name);
}

int WinsockTable::WSAStartup(std::uint16_t version, plat::SocketsData* data) {
    return Call<decltype(vorsock_WSAStartup)>(Slot::kWSAStartup, kNetworkDown, version, data);
}

int WinsockTable::WSACleanup() {
    return Call<decltype(vorsock_WSACleanup)>(Slot::kWSACleanup, plat::kSocketError);
}

void WinsockTable::WSASetLastError(int error) {
    if (auto* entry = Entry<decltype(vorsock_WSASetLastError)>(Slot::kWSASetLastError)) {
        entry(error);
    }
}

int WinsockTable::WSAGetLastError() {
    return Call<decltype(vorsock_WSAGetLastError)>(Slot::kWSAGetLastError, kNetworkDown);
}

int WinsockTable::WSAIsBlocking() {
    return Call<decltype(vorsock_WSAIsBlocking)>(Slot::kWSAIsBlocking, kNetworkDown);
}

int WinsockTable::WSAUnhookBlockingHook() {
    return Call<decltype(vorsock_WSAUnhookBlockingHook)>(Slot::kWSAUnhookBlockingHook, plat::kSocketError);
}

plat::BlockingHook WinsockTable::WSASetBlockingHook(plat::BlockingHook hook) {
    return Call<decltype(vorsock_WSASetBlockingHook)>(Slot::kWSASetBlockingHook, nullptr, hook);
}

int WinsockTable::WSACancelBlockingCall() {
    return Call<decltype(vorsock_WSACancelBlockingCall)>(Slot::kWSACancelBlockingCall, plat::kSocketError);
}

plat::AsyncHandle WinsockTable::WSAAsyncGetServByName(plat::WindowHandle window, std::uint32_t message,
                                                      const char* name, const char* protocol, char* buffer,
                                                      int bufferLength) {
    return Call<decltype(vorsock_WSAAsyncGetServByName)>(Slot::kWSAAsyncGetServByName, 0, window, message,
                                                         name, protocol, buffer, bufferLength);
}

plat::AsyncHandle WinsockTable::WSAAsyncGetServByPort(plat::WindowHandle window, std::uint32_t message,
                                                      int port, const char* protocol, char* buffer,
                                                      int bufferLength) {
    return Call<decltype(vorsock_WSAAsyncGetServByPort)>(Slot::kWSAAsyncGetServByPort, 0, window, message,
                                                         port, protocol, buffer, bufferLength);
}

plat::AsyncHandle WinsockTable::WSAAsyncGetProtoByName(plat::WindowHandle window, std::uint32_t message,
                                                       const char* name, char* buffer, int bufferLength) {
    return Call<decltype(vorsock_WSAAsyncGetProtoByName)>(Slot::kWSAAsyncGetProtoByName, 0, window, message,
                                                          name, buffer, bufferLength);
}

plat::AsyncHandle WinsockTable::WSAAsyncGetProtoByNumber(plat::WindowHandle window, std::uint32_t message,
                                                         int number, char* buffer, int bufferLength) {
    return Call<decltype(vorsock_WSAAsyncGetProtoByNumber)>(Slot::kWSAAsyncGetProtoByNumber, 0, window,
                                                            message, number, buffer, bufferLength);
}

plat::AsyncHandle WinsockTable::WSAAsyncGetHostByName(plat::WindowHandle window, std::uint32_t message,
                                                      const char* name, char* buffer, int bufferLength) {
    return Call<decltype(vorsock_WSAAsyncGetHostByName)>(Slot::kWSAAsyncGetHostByName, 0, window, message,
                                                         name, buffer, bufferLength);
}

plat::AsyncHandle WinsockTable::WSAAsyncGetHostByAddr(plat::WindowHandle window, std::uint32_t message,
                                                      const char* address, int length, int type, char* buffer,
                                                      int bufferLength) {
    return Call<decltype(vorsock_WSAAsyncGetHostByAddr)>(Slot::kWSAAsyncGetHostByAddr, 0, window, message,
                                                         address, length, type, buffer, bufferLength);
}

int WinsockTable::WSACancelAsyncRequest(plat::AsyncHandle request) {
    return Call<decltype(vorsock_WSACancelAsyncRequest)>(Slot::kWSACancelAsyncRequest, plat::kSocketError,
                                                         request);
}

int WinsockTable::WSAAsyncSelect(plat::SocketHandle s, plat::WindowHandle window, std::uint32_t message,
                                 long events) {
    return Call<decltype(vorsock_WSAAsyncSelect)>(Slot::kWSAAsyncSelect, plat::kSocketError, s, window,
                                                  message, events);
}

int WinsockTable::WSARecvEx(plat::SocketHandle s, char* buffer, int length, int* flags) {
    return Call<decltype(vorsock_WSARecvEx)>(Slot::kWSARecvEx, plat::kSocketError, s, buffer, length, flags);
}
