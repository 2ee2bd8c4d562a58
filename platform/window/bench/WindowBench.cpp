// Costs of the window layer that a detection pays per answer: setting a notice window's text, and
// posting and sending to a window of another process (a forked peer that serves one window).
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/window/Window.h"

namespace {

constexpr const char* kPeerClass = "WindowBenchPeer";
constexpr std::uint32_t kPing = plat::kWmUser + 1;

plat::LResult PeerProc(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                       plat::LParam lParam) {
    if (message == kPing) {
        return static_cast<plat::LResult>(wParam + 1);
    }
    if (message == plat::kWmDestroy) {
        plat::PostQuitMessage(0);
    }
    return plat::DefWindowProc(window, message, wParam, lParam);
}

// The other process: serves one window until it is closed.
[[noreturn]] void ServePeer() {
    plat::RegisterWindowClass(kPeerClass, PeerProc);
    plat::CreateWindow(kPeerClass, "peer");
    plat::Message message;
    while (plat::GetMessage(message)) {
        plat::DispatchMessage(message);
    }
    _exit(0);
}

plat::WindowHandle FindPeer() {
    for (int tries = 0; tries < 500; ++tries) {
        if (const auto found = plat::FindWindow(kPeerClass, "peer")) {
            return found;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

plat::WindowHandle peerWindow = 0;

void BM_SetWindowTextOfOwnWindow(benchmark::State& state) {
    plat::RegisterWindowClass("WindowBenchNotice", nullptr);
    const plat::WindowHandle window = plat::CreateWindow("WindowBenchNotice", "");
    int notice = 0;
    for (auto _ : state) {
        // Each notice differs, as the lines of a detection do.
        benchmark::DoNotOptimize(plat::SetWindowText(window, "1,notice," + std::to_string(++notice)));
    }
    plat::DestroyWindow(window);
}
BENCHMARK(BM_SetWindowTextOfOwnWindow);

void BM_PostToAnotherProcess(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(plat::PostMessage(peerWindow, plat::kWmUser, 1, 2));
    }
    plat::SendMessage(peerWindow, kPing, 0, 0);  // the peer has taken them all
}
BENCHMARK(BM_PostToAnotherProcess);

void BM_SendToAnotherProcess(benchmark::State& state) {
    plat::WParam i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(plat::SendMessage(peerWindow, kPing, ++i, 0));
    }
}
BENCHMARK(BM_SendToAnotherProcess);

}  // namespace

int main(int argc, char** argv) {
    // Forked before the layer starts any thread of its own.
    const pid_t peer = fork();
    if (peer == 0) {
        ServePeer();
    }
    peerWindow = FindPeer();
    if (peer < 0 || peerWindow == 0) {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    plat::PostMessage(peerWindow, plat::kWmClose, 0, 0);
    waitpid(peer, nullptr, 0);
    return 0;
}
