#include "platform/services/ModuleLoader.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

#include "platform/services/DebugOutput.h"
#include "platform/text/CaseInsensitive.h"

namespace plat {

namespace {

struct MappedFile {
    std::string file;
    std::string exportPrefix;
};

struct NameMap {
    std::mutex lock;
    std::map<std::string, MappedFile, CaseInsensitiveLess> files{
        {"wsock32.dll", {"libvorlanesock.so", kSocketExportPrefix}},
        {"ws2_32.dll", {"libvorlanesock.so", kSocketExportPrefix}},
        {"winsock.dll", {"libvorlanesock.so", kSocketExportPrefix}},
        {"DLCAPI.DLL", {"libvorlanedlc.so", ""}},
        {"Halbrin.dll", {"libhalbrin.so", ""}},
        {"Vantorel.dll", {"libvantorel.so", ""}},
        {"Tessik.dll", {"libtessik.so", ""}},
    };
};

NameMap& Map() {
    static NameMap map;
    return map;
}

std::string PlatformFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&LoadModule), &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    std::string path = info.dli_fname;
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string{} : path.substr(0, slash + 1);
}

void* OpenFile(const std::string& file) {
    void* handle = nullptr;
    if (file.find('/') == std::string::npos) {
        handle = dlopen((PlatformFolder() + file).c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    return handle != nullptr ? handle : dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

}  // namespace

struct Module {
    void* handle;
    std::string exportPrefix;
};

ModuleHandle LoadModule(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    MappedFile mapped;
    {
        std::lock_guard guard(Map().lock);
        auto it = Map().files.find(name);
        if (it == Map().files.end()) {
            return nullptr;
        }
        mapped = it->second;
    }
    void* handle = OpenFile(mapped.file);
    if (handle == nullptr) {
        DebugPrintf("LoadModule %s: %s\n", name, dlerror());
        return nullptr;
    }
    return new Module{handle, mapped.exportPrefix};
}

void* ModuleSymbol(ModuleHandle module, const char* symbol) {
    if (module == nullptr || symbol == nullptr) {
        return nullptr;
    }
    return dlsym(module->handle, (module->exportPrefix + symbol).c_str());
}

void FreeModule(ModuleHandle module) {
    if (module != nullptr) {
        dlclose(module->handle);
        delete module;
    }
}

void MapModuleName(const std::string& name, const std::string& file, const std::string& exportPrefix) {
    std::lock_guard guard(Map().lock);
    if (file.empty()) {
        Map().files.erase(name);
    } else {
        Map().files[name] = MappedFile{file, exportPrefix};
    }
}

}  // namespace plat
