#include "confighelper/NotifyRouter.h"

#include <map>
#include <mutex>

#include "platform/services/Undestroyed.h"
#include "transport/DatagramTransport.h"

namespace {

struct Routes {
    std::mutex lock;
    std::map<plat::WindowHandle, NotifyHandler> handlers;
};

// Never destroyed: listeners are closed while the library unloads, after static objects may be gone.
Routes& TheRoutes() {
    return plat::Undestroyed<Routes>();
}

// The read event in the low word: socket notifications carry the event there, the DLC reader posts 1.
bool IsReadEvent(plat::LParam lParam) {
    return (lParam & 0xFFFF) == plat::kFdRead;
}

}  // namespace

void RouteNotifications(plat::WindowHandle window, NotifyHandler handler) {
    std::lock_guard guard(TheRoutes().lock);
    TheRoutes().handlers[window] = std::move(handler);
}

void StopRouting(plat::WindowHandle window) {
    std::lock_guard guard(TheRoutes().lock);
    TheRoutes().handlers.erase(window);
}

plat::LResult RouteNotify(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                          plat::LParam lParam) {
    if (message != WM_DATAGRAM_NOTIFY || !IsReadEvent(lParam)) {
        return plat::DefWindowProc(window, message, wParam, lParam);
    }
    NotifyHandler handler;
    {
        std::lock_guard guard(TheRoutes().lock);
        auto found = TheRoutes().handlers.find(window);
        if (found == TheRoutes().handlers.end()) {
            return 0;
        }
        handler = found->second;
    }
    handler(wParam);
    return 0;
}
