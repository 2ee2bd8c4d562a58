#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/services/ModuleLoader.h"
#include "platform/sock/SocketLibrary.h"

// The socket library bound at run time by name: the first of "wsock32.dll", "ws2_32.dll" and
// "winsock.dll" that loads, with its entry points (platform/sock/SocketEntryPoints.def) looked up by
// name. One forwarding method per entry point, named as the entry point. When the library or the entry
// point is missing nothing is called and the method answers the entry point's failure from the list
// (10050, network down, where the entry point has no failure value of its own; WSASetLastError does
// nothing).
//
// It does not start the library: the owner calls WSAStartup (version 1.1) through the table first and
// WSACleanup when done. Usable as a member or a base class; after construction it is only read.
class WinsockTable {
  public:
    // Frees the library again (it does not call WSACleanup) when it is destroyed, or when the look-ups
    // stop on an exception.
    WinsockTable();
    WinsockTable(const WinsockTable&) = delete;
    WinsockTable& operator=(const WinsockTable&) = delete;

    // True when a socket library was loaded.
    bool IsBound() const { return module_ != nullptr; }

    // One forwarder per entry point of the list, named as the entry point. The name stands in
    // parentheses: the C library's byte-order macros (htonl ...) must not take it for a call.
#define VORSOCK_ENTRY(Result, name, parameters, arguments, failure) Result(name) parameters;
#include "platform/sock/SocketEntryPoints.def"

  private:
    enum class Slot : std::size_t {
#define VORSOCK_ENTRY(Result, name, parameters, arguments, failure) name,
#include "platform/sock/SocketEntryPoints.def"
        kCount
    };

    template <class Function>
    Function* Entry(Slot slot) const {
        return reinterpret_cast<Function*>(entries_[static_cast<std::size_t>(slot)]);
    }

    struct ModuleFree {
        void operator()(plat::ModuleHandle module) const { plat::FreeModule(module); }
    };

    std::unique_ptr<plat::Module, ModuleFree> module_;
    std::array<void*, static_cast<std::size_t>(Slot::kCount)> entries_{};
};
