#pragma once

#include "platform/sock/SocketLibrary.h"

// The name database of the socket interface over the host's resolver and its services and
// protocols files. The plain lookups answer entries kept per thread (null with the thread's error set
// on failure); the asynchronous ones copy the entry into the caller's buffer and post the message to
// the window, with the handle they answered as first parameter.
namespace plat {

HostEntry* HostByName(const char* name);
HostEntry* HostByAddress(const char* address, int length, int type);
ServiceEntry* ServiceByName(const char* name, const char* protocol);
ServiceEntry* ServiceByPort(int port, const char* protocol);
ProtocolEntry* ProtocolByName(const char* name);
ProtocolEntry* ProtocolByNumber(int number);

AsyncHandle AsyncHostByName(WindowHandle window, std::uint32_t message, const char* name, char* buffer,
                            int length);
AsyncHandle AsyncHostByAddress(WindowHandle window, std::uint32_t message, const char* address,
                               int addressLength, int type, char* buffer, int length);
AsyncHandle AsyncServiceByName(WindowHandle window, std::uint32_t message, const char* name,
                               const char* protocol, char* buffer, int length);
AsyncHandle AsyncServiceByPort(WindowHandle window, std::uint32_t message, int port, const char* protocol,
                               char* buffer, int length);
AsyncHandle AsyncProtocolByName(WindowHandle window, std::uint32_t message, const char* name, char* buffer,
                                int length);
AsyncHandle AsyncProtocolByNumber(WindowHandle window, std::uint32_t message, int number, char* buffer,
                                  int length);
// Every request completes before its handle is answered: cancelling a known one is too late.
int CancelAsyncLookup(AsyncHandle request);

}  // namespace plat
