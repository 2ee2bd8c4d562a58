#include "confighelper/TrapListeners.h"

#include <array>
#include <atomic>
#include <memory>
#include <new>

#include "confighelper/NotifyRouter.h"
#include "confighelper/TrapListener.h"
#include "platform/services/DebugOutput.h"
#include "platform/services/Undestroyed.h"
#include "transport/DlcTransport.h"
#include "transport/IpxTransport.h"
#include "transport/UdpTransport.h"

namespace {

constexpr std::uint16_t kUdpTrapPort = 162;
constexpr std::uint16_t kIpxTrapSocket = 0x9010;
constexpr std::uint16_t kDlcTrapSap = 12;
// A datagram is already waiting when its notice comes: receives never need to wait.
constexpr std::int32_t kNoWait = 0;

std::atomic<plat::WindowHandle> noticeWindow{0};

struct Listener {
    std::unique_ptr<TrapListener> listener;
    const char* windowClass;  // given back at close; null for a class that stays registered
};

using ListenerTable = std::array<Listener, 3>;

// Never destroyed with the static objects: the library closes the listeners itself as it unloads.
ListenerTable& Listeners() {
    return plat::Undestroyed<ListenerTable>();
}

template <typename Transport>
void Open(Listener& slot, ProtocolMask protocol, std::uint16_t endPoint, const char* windowClass,
          ModuleInstance instance) {
    auto transport = std::unique_ptr<Transport>(
        new (std::nothrow) Transport(1, kNoWait, kTransportAsynchronous, RouteNotify, instance));
    if (transport == nullptr) {
        return;
    }
    slot.listener = std::make_unique<TrapListener>(std::move(transport), protocol);
    slot.windowClass = windowClass;
    TrapListener* listener = slot.listener.get();
    if (listener->Window() == 0) {
        plat::DebugPrintf("Trap listener: no notification window for protocol %d\n", protocol);
        return;
    }
    RouteNotifications(listener->Window(),
                       [listener](plat::WParam) { listener->OnDatagramNotify(NoticeWindow()); });
    listener->Bind(endPoint);
}

}  // namespace

void OpenTrapListeners(ModuleInstance instance) {
    CloseTrapListeners();
    ListenerTable& listeners = Listeners();
    Open<UdpTransport>(listeners[0], kProtocolIp, kUdpTrapPort, "ASYNC_MSG_HANDLER", instance);
    Open<IpxTransport>(listeners[1], kProtocolIpx, kIpxTrapSocket, "ASYNC_IPX_MSG_HANDLER", instance);
    // The DLC transports keep their class registered for the process; every later one of this library
    // gets a window of it, routed as this one.
    Open<DlcTransport>(listeners[2], kProtocolDlc, kDlcTrapSap, nullptr, instance);
}

void CloseTrapListeners() {
    for (Listener& slot : Listeners()) {
        if (slot.listener == nullptr) {
            continue;
        }
        const plat::WindowHandle window = slot.listener->Window();
        StopRouting(window);
        slot.listener.reset();
        // The class was ours when the listener got a window: give it back, so that a later start-up
        // in this process gets its window again.
        if (window != 0 && slot.windowClass != nullptr) {
            plat::UnregisterWindowClass(slot.windowClass);
        }
    }
}

void SetNoticeWindow(plat::WindowHandle window) {
    noticeWindow = window;
}

plat::WindowHandle NoticeWindow() {
    return noticeWindow;
}
