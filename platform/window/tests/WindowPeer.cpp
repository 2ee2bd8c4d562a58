// The other process of the cross-process tests. Modes: "serve" runs a window until it is closed;
// "vanish" makes its window, says hello and ends at once without any clean-up.
#include <unistd.h>

#include <cstring>

#include "platform/window/Window.h"
#include "platform/window/tests/PeerProtocol.h"
#include "tests/Eventually.h"

namespace {

long nextInSequence = 0;
bool sequenceBroken = false;

plat::LResult PeerProc(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                       plat::LParam lParam) {
    const auto other = static_cast<plat::WindowHandle>(lParam);
    switch (message) {
        case peer::kPing:
            return static_cast<plat::LResult>(wParam + 1);
        case peer::kAskBack:
            return plat::SendMessage(other, peer::kPing, wParam, 0) * 10;
        case peer::kRace: {
            plat::WParam right = 0;
            for (plat::WParam i = 0; i < wParam; ++i) {
                right += plat::SendMessage(other, peer::kPing, i, 0) == static_cast<plat::LResult>(i + 1);
            }
            plat::PostMessage(other, peer::kRaceDone, right, 0);
            return 0;
        }
        case peer::kSequence:
            sequenceBroken |= static_cast<long>(wParam) != nextInSequence++;
            return 0;
        case peer::kReportSequence:
            plat::PostMessage(other, peer::kSequenceSeen, sequenceBroken ? peer::kBroken : nextInSequence, 0);
            return 0;
        case peer::kPostBack:
            for (plat::WParam i = 0; i < wParam; ++i) {
                plat::PostMessage(other, peer::kSequence, i, 0);
            }
            return 1;
        case peer::kDie:
            _exit(3);
        case plat::kWmDestroy:
            plat::PostQuitMessage(0);
            return 0;
        default:
            return plat::DefWindowProc(window, message, wParam, lParam);
    }
}

// The bound is for a loaded machine, as the test's own wait for this peer is.
plat::WindowHandle FindTestWindow() {
    plat::WindowHandle found = 0;
    testsupport::Eventually([&] { return (found = plat::FindWindow(peer::kClass, peer::kTestTitle)) != 0; });
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !plat::RegisterWindowClass(peer::kClass, PeerProc)) {
        return 2;
    }
    const plat::WindowHandle window = plat::CreateWindow(peer::kClass, peer::kPeerTitle);
    const plat::WindowHandle test = FindTestWindow();
    if (window == 0 || test == 0 || !plat::PostMessage(test, peer::kHello, window, 0)) {
        return 2;
    }
    if (std::strcmp(argv[1], "vanish") == 0) {
        _exit(0);
    }
    plat::Message message;
    while (plat::GetMessage(message)) {
        plat::DispatchMessage(message);
    }
    return static_cast<int>(message.wParam);
}
