#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

#include "platform/services/ModuleLoader.h"
#include "platform/sock/SocketLibrary.h"

// The socket library bound at run time by name: the first of "wsock32.dll", "ws2_32.dll" and
// "winsock.dll" that loads, with its 47 entry points looked up by name. One forwarding method per
// entry point, named as the entry point. When the library or the entry point is missing nothing is
// called and the method answers its failure: -1 (kSocketError) or kInvalidSocket where the entry
// point reports failure so, kInaddrNone for inet_addr, null for pointers and asynchronous handles,
// 10050 (network down) from WSAStartup, WSAGetLastError, WSAIsBlocking and the byte-order
// conversions; WSASetLastError does nothing.
//
// It does not start the library: the owner calls WSAStartup (version 1.1) through the table first and
// WSACleanup when done. Usable as a member or a base class; after construction it is only read.
class WinsockTable {
  public:
    WinsockTable();
    WinsockTable(const WinsockTable&) = delete;
    WinsockTable& operator=(const WinsockTable&) = delete;
    // Frees the library when one was loaded (it does not call WSACleanup).
    ~WinsockTable();

    // True when a socket library was loaded.
    bool IsBound() const { return module_ != nullptr; }

    plat::SocketHandle accept(plat::SocketHandle s, plat::SocketAddress* address, int* addressLength);
    int bind(plat::SocketHandle s, const plat::SocketAddress* address, int addressLength);
    int closesocket(plat::SocketHandle s);
    int connect(plat::SocketHandle s, const plat::SocketAddress* address, int addressLength);
    int ioctlsocket(plat::SocketHandle s, long command, std::uint32_t* argument);
    int getpeername(plat::SocketHandle s, plat::SocketAddress* address, int* addressLength);
    int getsockname(plat::SocketHandle s, plat::SocketAddress* address, int* addressLength);
    int getsockopt(plat::SocketHandle s, int level, int option, char* value, int* valueLength);
    std::uint32_t htonl(std::uint32_t value);
    std::uint16_t htons(std::uint16_t value);
    std::uint32_t inet_addr(const char* text);
    char* inet_ntoa(plat::InetAddress address);
    int listen(plat::SocketHandle s, int backlog);
    std::uint32_t ntohl(std::uint32_t value);
    std::uint16_t ntohs(std::uint16_t value);
    int recv(plat::SocketHandle s, char* buffer, int length, int flags);
    int recvfrom(plat::SocketHandle s, char* buffer, int length, int flags, plat::SocketAddress* from,
                 int* fromLength);
    int select(int ignored, plat::FdSet* readSet, plat::FdSet* writeSet, plat::FdSet* exceptSet,
               const plat::TimeValue* timeout);
    int send(plat::SocketHandle s, const char* buffer, int length, int flags);
    int sendto(plat::SocketHandle s, const char* buffer, int length, int flags, const plat::SocketAddress* to,
               int toLength);
    int setsockopt(plat::SocketHandle s, int level, int option, const char* value, int valueLength);
    int shutdown(plat::SocketHandle s, int how);
    plat::SocketHandle socket(int family, int type, int protocol);
    plat::HostEntry* gethostbyaddr(const char* address, int length, int type);
    plat::HostEntry* gethostbyname(const char* name);
    int gethostname(char* name, int length);
    plat::ServiceEntry* getservbyport(int port, const char* protocol);
    plat::ServiceEntry* getservbyname(const char* name, const char* protocol);
    plat::ProtocolEntry* getprotobynumber(int number);
    plat::ProtocolEntry* getprotobyname(const char* name);
    int WSAStartup(std::uint16_t version, plat::SocketsData* data);
    int WSACleanup();
    void WSASetLastError(int error);
    int WSAGetLastError();
    int WSAIsBlocking();
    int WSAUnhookBlockingHook();
    plat::BlockingHook WSASetBlockingHook(plat::BlockingHook hook);
    int WSACancelBlockingCall();
    plat::AsyncHandle WSAAsyncGetServByName(plat::WindowHandle window, std::uint32_t message,
                                            const char* name, const char* protocol, char* buffer,
                                            int bufferLength);
    plat::AsyncHandle WSAAsyncGetServByPort(plat::WindowHandle window, std::uint32_t message, int port,
                                            const char* protocol, char* buffer, int bufferLength);
    plat::AsyncHandle WSAAsyncGetProtoByName(plat::WindowHandle window, std::uint32_t message,
                                             const char* name, char* buffer, int bufferLength);
    plat::AsyncHandle WSAAsyncGetProtoByNumber(plat::WindowHandle window, std::uint32_t message, int number,
                                               char* buffer, int bufferLength);
    plat::AsyncHandle WSAAsyncGetHostByName(plat::WindowHandle window, std::uint32_t message,
                                            const char* name, char* buffer, int bufferLength);
    plat::AsyncHandle WSAAsyncGetHostByAddr(plat::WindowHandle window, std::uint32_t message,
                                            const char* address, int length, int type, char* buffer,
                                            int bufferLength);
    int WSACancelAsyncRequest(plat::AsyncHandle request);
    int WSAAsyncSelect(plat::SocketHandle s, plat::WindowHandle window, std::uint32_t message, long events);
    int WSARecvEx(plat::SocketHandle s, char* buffer, int length, int* flags);

  private:
    enum Slot : std::size_t {
        kAccept,
        kBind,
        kClosesocket,
        kConnect,
        kIoctlsocket,
        kGetpeername,
        kGetsockname,
        kGetsockopt,
        kHtonl,
        kHtons,
        kInet_addr,
        kInet_ntoa,
        kListen,
        kNtohl,
        kNtohs,
        kRecv,
        kRecvfrom,
        kSelect,
        kSend,
        kSendto,
        kSetsockopt,
        kShutdown,
        kSocket,
        kGethostbyaddr,
        kGethostbyname,
        kGethostname,
        kGetservbyport,
        kGetservbyname,
        kGetprotobynumber,
        kGetprotobyname,
        kWSAStartup,
        kWSACleanup,
        kWSASetLastError,
        kWSAGetLastError,
        kWSAIsBlocking,
        kWSAUnhookBlockingHook,
        kWSASetBlockingHook,
        kWSACancelBlockingCall,
        kWSAAsyncGetServByName,
        kWSAAsyncGetServByPort,
        kWSAAsyncGetProtoByName,
        kWSAAsyncGetProtoByNumber,
        kWSAAsyncGetHostByName,
        kWSAAsyncGetHostByAddr,
        kWSACancelAsyncRequest,
        kWSAAsyncSelect,
        kWSARecvEx,
        kSlotCount
    };
    static constexpr int kNetworkDown = plat::kWsaEnetdown;

    template <class Function>
    Function* Entry(Slot slot) const {
        return reinterpret_cast<Function*>(entries_[slot]);
    }
    template <class Function, class... Args>
    auto Call(Slot slot, std::invoke_result_t<Function*, Args...> unbound, Args... args) const {
        Function* entry = Entry<Function>(slot);
        return entry != nullptr ? entry(args...) : unbound;
    }

    plat::ModuleHandle module_ = nullptr;
    std::array<void*, kSlotCount> entries_{};
};
