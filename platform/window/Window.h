#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Windows and messages: hidden windows that receive messages, one message queue per thread, timers,
// window texts, and asynchronous notification of readable sockets. Windows are reachable from other
// processes of the same runtime folder (VORLANE_RUNTIME): found by class and title, posted and sent to.
namespace plat {

using WindowHandle = std::uint32_t;  // 0 = none; survives a trip through signed decimal text
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;
using WindowProc = LResult (*)(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);
using TimerProc = void (*)(WindowHandle window, std::uint32_t message, std::uintptr_t timerId,
                           std::uint32_t tickMs);

struct Message {
    WindowHandle window = 0;
    std::uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

// Message numbers the suite uses.
enum : std::uint32_t {
    kWmDestroy = 0x0002,
    kWmSetText = 0x000C,  // lParam: const char* text; the default procedure stores it
    kWmGetText = 0x000D,  // wParam: buffer size, lParam: char* buffer; answers the length copied
    kWmGetTextLength = 0x000E,
    kWmClose = 0x0010,  // the default procedure destroys the window
    kWmQuit = 0x0012,
    kWmTimer = 0x0113,  // wParam: timer id, lParam: TimerProc or 0
    kWmLButtonDown = 0x0201,
    kWmUser = 0x0400,
};

// Socket events for AsyncSelect, as the socket interface numbers them.
enum : long { kFdRead = 0x01, kFdWrite = 0x02, kFdAccept = 0x08, kFdConnect = 0x10, kFdClose = 0x20 };

// Classes are registered per process; a second registration of the same name (without regard to case)
// fails and answers false.
bool RegisterWindowClass(const std::string& className, WindowProc procedure);
bool UnregisterWindowClass(const std::string& className);

// Creates a window owned by the calling thread; its procedure runs on that thread only.
WindowHandle CreateWindow(const std::string& className, const std::string& title);
bool DestroyWindow(WindowHandle window);
// True for a live window of any process of this runtime folder; false for 0, destroyed windows and
// windows of processes that have ended.
bool IsWindow(WindowHandle window);
WindowHandle FindWindow(const std::string& className, const std::string& title);

// Post: queued to the owner's thread, from any thread or process. False when the window is gone.
bool PostMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);
// Send: on the owner's thread a direct call; from another thread or process the caller waits for the
// answer and meanwhile dispatches messages sent to itself, so that two threads or programs sending to
// each other at once do not deadlock. Across processes lParam is carried as a number, except for
// kWmSetText and kWmGetText whose texts are carried. Answers 0 when the window is gone.
LResult SendMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);
void PostQuitMessage(int exitCode);

// The calling thread's queue. GetMessage waits and answers false for kWmQuit; PeekMessage answers at
// once. Sent messages that wait for this thread are dispatched inside both, before posted ones.
bool GetMessage(Message& message);
bool PeekMessage(Message& message, bool remove);
LResult DispatchMessage(const Message& message);
LResult DefWindowProc(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);

// Timers. With a window, kWmTimer goes to that window with the given id; with window 0 the timer
// belongs to the calling thread, the id is chosen and returned, and DispatchMessage calls the
// procedure. Answers 0 on failure.
std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t timerId, std::uint32_t elapseMs,
                        TimerProc procedure);
bool KillTimer(WindowHandle window, std::uintptr_t timerId);

// Window text. Setting it sends kWmSetText to the window, so the owner's handler runs inside the
// call, every time the text is set (identical text included).
bool SetWindowText(WindowHandle window, const std::string& text);
std::string GetWindowText(WindowHandle window);

// Asynchronous notification of a socket: while armed, one `message` is posted to `window` per readable
// datagram (or per other selected event), wParam = socketId, lParam = event | (error << 16). A read
// notification is re-armed by the next receive on the socket (RearmAsyncRead). events 0 stops it.
bool AsyncSelect(int fd, std::uintptr_t socketId, WindowHandle window, std::uint32_t message, long events);
void RearmAsyncRead(int fd);
void CancelAsyncSelect(int fd);

// One pollable file descriptor per thread: readable while the calling thread's queue has work
// (for a QSocketNotifier in the console). Owned by the layer.
int QueueFd();

// Code that pumps messages while it waits (PumpWaiting) calls the idle hook once per round, so that a
// host with an event loop of its own stays painted.
void SetIdleHook(std::function<void()> hook);
// Dispatches every message waiting for the calling thread, then calls the idle hook; waits at most
// timeoutMs for a first message. Answers false when kWmQuit was taken from the queue.
bool PumpWaiting(std::uint32_t timeoutMs);

// Milliseconds since some fixed point, for time-outs.
std::uint32_t TickCount();

}  // namespace plat
