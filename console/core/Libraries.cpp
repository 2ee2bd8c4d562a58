#include "console/core/Libraries.h"

#include <map>
#include <mutex>
#include <string>

#include "platform/services/ModuleLoader.h"

namespace console {

void* LibraryFunction(const char* library, const char* name) {
    // Loaded once and kept until the process ends, as the console has always held its libraries.
    static auto* loaded = new std::map<std::string, plat::ModuleHandle>;
    static std::mutex loading;
    const std::lock_guard lock(loading);
    plat::ModuleHandle& module = (*loaded)[library];
    if (module == nullptr) {
        module = plat::LoadModule(library);
    }
    void* function = module != nullptr ? plat::ModuleSymbol(module, name) : nullptr;
    if (function == nullptr) {
        throw LibraryMissing(std::string(library) + " gives no " + name);
    }
    return function;
}

}  // namespace console
