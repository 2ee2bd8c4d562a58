#include "confighelper/SocketLibraryUse.h"

#include <memory>

#include "transport/WinsockTable.h"

namespace {

// The table stays loaded while the library uses the socket library.
std::unique_ptr<WinsockTable> started;

}  // namespace

HelperResult StartSocketLibrary() {
    if (started != nullptr) {
        return kHelperOk;
    }
    auto sockets = std::make_unique<WinsockTable>();
    plat::SocketsData data{};
    const int result = sockets->WSAStartup(plat::MakeVersion(1, 1), &data);
    if (result == plat::kWsaSysnotready || result == plat::kWsaVernotsupported) {
        return kHelperNetworkNotReady;
    }
    if (result != 0) {
        return kHelperSocketStartFailed;
    }
    started = std::move(sockets);
    return kHelperOk;
}

void StopSocketLibrary() {
    if (started != nullptr) {
        started->WSACleanup();
        started.reset();
    }
}
