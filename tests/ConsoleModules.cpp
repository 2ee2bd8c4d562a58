#include <map>
#include <string>

#include "tests/LateExport.h"

namespace consoletest {

plat::ModuleHandle ConsoleModule(const char* libraryName) {
    // Never freed: the libraries stay loaded until the process ends.
    static auto* loaded = new std::map<std::string, plat::ModuleHandle>;
    plat::ModuleHandle& module = (*loaded)[libraryName];
    if (module == nullptr) {
        module = plat::LoadModule(libraryName);
    }
    return module;
}

}  // namespace consoletest
