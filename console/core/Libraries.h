#pragma once

#include <stdexcept>
#include <string>

#include "confighelper/Halbrin.h"
#include "snmp/exports/Vantorel.h"

// The library functions the console calls, each bound by name on its first call; the console is
// never linked against the libraries. The headers give the types only.
namespace console {

// A library or export that cannot be loaded: the installation is broken.
class LibraryMissing : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

void* LibraryFunction(const char* library, const char* name);

template <typename Function>
class LateExport;

template <typename Result, typename... Args>
class LateExport<Result(Args...)> {
  public:
    constexpr LateExport(const char* library, const char* name) : library_(library), name_(name) {}

    Result operator()(Args... args) {
        if (function_ == nullptr) {
            function_ = reinterpret_cast<Result (*)(Args...)>(LibraryFunction(library_, name_));
        }
        return function_(args...);
    }

  private:
    const char* library_;
    const char* name_;
    Result (*function_)(Args...) = nullptr;
};

#define CONSOLE_LIBRARY_FUNCTION(library, name) \
    inline LateExport<decltype(::name)> name {  \
        library, #name                          \
    }

namespace halbrin {
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperInitialize);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperCleanUp);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperDetectPrintServers);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperInstallPrinter32);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperDeviceSettings32);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperRefreshJobQueue32);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperSetTFTPParameters);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperValidateAdapterResolved);
CONSOLE_LIBRARY_FUNCTION("Halbrin.dll", HelperGetHostIPAddress);
}  // namespace halbrin

namespace vantorel {
CONSOLE_LIBRARY_FUNCTION("Vantorel.dll", HelperSNMPTransact);
CONSOLE_LIBRARY_FUNCTION("Vantorel.dll", HelperSNMPTransactAscii);
CONSOLE_LIBRARY_FUNCTION("Vantorel.dll", HelperGetSNMPObjects);
CONSOLE_LIBRARY_FUNCTION("Vantorel.dll", HelperSNMPRegisterTrapDestination);
CONSOLE_LIBRARY_FUNCTION("Vantorel.dll", HelperTrapKeepAlive);
}  // namespace vantorel

#undef CONSOLE_LIBRARY_FUNCTION

}  // namespace console
