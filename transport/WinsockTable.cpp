#include "transport/WinsockTable.h"

#include "platform/sock/SocketEntryPoints.h"

namespace {

constexpr const char* kLibraryNames[] = {"wsock32.dll", "ws2_32.dll", "winsock.dll"};

}  // namespace

WinsockTable::WinsockTable() {
    for (const char* name : kLibraryNames) {
        module_.reset(plat::LoadModule(name));
        if (module_ != nullptr) {
            break;
        }
    }
    if (module_ == nullptr) {
        return;
    }
    for (std::size_t slot = 0; slot < entries_.size(); ++slot) {
        entries_[slot] = plat::ModuleSymbol(module_.get(), plat::kSocketEntryPoints[slot]);
    }
}

#define VORSOCK_ENTRY(Result, name, parameters, arguments, failure)               \
    Result(WinsockTable::name) parameters {                                       \
        auto* entry = Entry<decltype(vorsock_##name)>(Slot::name);                \
        return entry != nullptr ? entry arguments : static_cast<Result>(failure); \
    }
#include "platform/sock/SocketEntryPoints.def"
