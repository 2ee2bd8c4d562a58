#pragma once

#include <stdexcept>
#include <string>

#include "platform/services/ModuleLoader.h"

namespace consoletest {

// A library as the console holds it: loaded by its name on first use and left loaded until the
// process ends. Null when it cannot be loaded.
plat::ModuleHandle ConsoleModule(const char* libraryName);

// An export of a library loaded by name, looked up on its first call, as the console binds each
// library function. A library or export that is missing ends the calling test with an exception.
template <typename Function>
class LateExport;

template <typename Result, typename... Args>
class LateExport<Result(Args...)> {
  public:
    LateExport(const char* library, const char* name) : library_(library), name_(name) {}

    Result operator()(Args... args) { return Bound()(args...); }

  private:
    using Pointer = Result (*)(Args...);

    Pointer Bound() {
        if (function_ == nullptr) {
            function_ = reinterpret_cast<Pointer>(plat::ModuleSymbol(ConsoleModule(library_), name_));
        }
        if (function_ == nullptr) {
            throw std::runtime_error(std::string(library_) + " gives no " + name_);
        }
        return function_;
    }

    const char* library_;
    const char* name_;
    Pointer function_ = nullptr;
};

}  // namespace consoletest
