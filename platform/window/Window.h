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
// Class and title compare without regard to case; an empty one matches any. Of several matching
// windows, the one made last.
WindowHandle FindWindow(const std::string& className, const std::string& title);

// A handle as signed decimal text ("-1" for 0xFFFFFFFF) and back; text that is not such a number
// (unsigned decimal is taken too) gives 0.
std::string WindowHandleToText(WindowHandle window);
WindowHandle WindowHandleFromText(const std::string& text);

// Post: queued to the owner's thread, from any thread or process. False when the window is gone, and
// for kWmSetText and kWmGetText (their lParam would not outlive the call). Window 0: the calling
// thread's queue.
bool PostMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);
// Send: on the owner's thread a direct call; from another thread or process the caller waits for the
// answer and meanwhile dispatches messages sent to itself, so that two threads or programs sending to
// each other at once do not deadlock. Across processes lParam is carried as a number, except for
// kWmSetText and kWmGetText whose texts are carried (up to 64 KiB). Answers 0 when the window is gone,
// also when it goes or its process ends while the caller waits (noticed within a tenth of a second).
LResult SendMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);
void PostQuitMessage(int exitCode);

// The calling thread's queue. GetMessage waits and answers false for kWmQuit; PeekMessage answers at
// once. Sent messages that wait for this thread are dispatched inside both, before posted ones.
bool GetMessage(Message& message);
bool PeekMessage(Message& message, bool remove);
LResult DispatchMessage(const Message& message);
LResult DefWindowProc(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);

// Timers. With a window, kWmTimer goes to that window with the given id (not 0); with window 0 the
// timer belongs to the calling thread, the id is chosen and returned (a given id that names one of the
// thread's timers resets that one), and DispatchMessage calls the procedure, only while the timer
// lives. A due timer is taken when no posted message waits; periods under 10 ms are 10 ms. Answers 0
// on failure. A window's timers end with it.
std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t timerId, std::uint32_t elapseMs,
                        TimerProc procedure);
bool KillTimer(WindowHandle window, std::uintptr_t timerId);

// Window text. Setting it sends kWmSetText to the window, so the owner's handler runs inside the
// call, every time the text is set (identical text included); true when the procedure answered non-zero
// (the default procedure does). The text of another process's window is the one it last stored.
bool SetWindowText(WindowHandle window, const std::string& text);
std::string GetWindowText(WindowHandle window);

// Asynchronous notification of a socket to a window of this process (false for any other): while
// armed, one `message` is posted to `window` per readable datagram (or per other selected event),
// wParam = socketId, lParam = event | (error << 16), the error numbered as the socket interface
// numbers it (10061 refused, 10054 reset ...). A read or accept notification is re-armed by the next
// receive or accept on the socket (RearmAsyncRead), and posted at once again when more waits; connect
// (with its error), write and close are posted once per selection. events 0 or CancelAsyncSelect
// stops it: no notice of the socket is taken from the queue after that. Cancel before closing the
// descriptor: a selection left behind ends only when its number is selected again; a window's
// selections end with it. The window's thread waits for the socket itself (in GetMessage,
// PeekMessage, PumpWaiting, or through QueueFd): a notice joins its queue when it looks for work and
// no sent or posted message waits.
bool AsyncSelect(int fd, std::uintptr_t socketId, WindowHandle window, std::uint32_t message, long events);
void RearmAsyncRead(int fd);
void CancelAsyncSelect(int fd);

// One pollable file descriptor per thread: readable while the calling thread's queue has work, a
// message, a due timer or a selected socket to report on (for a QSocketNotifier in the console). Owned by the
// layer; reading it is not needed (taking the work clears it).
int QueueFd();

// Code that pumps messages while it waits (PumpWaiting) calls the idle hook once per round, so that a
// host with an event loop of its own stays painted. The hook belongs to the calling thread and is not
// called again from inside itself.
void SetIdleHook(std::function<void()> hook);
// Dispatches every message waiting for the calling thread, then calls the idle hook; waits at most
// timeoutMs for a first message. Answers false when kWmQuit was taken from the queue (it is consumed).
bool PumpWaiting(std::uint32_t timeoutMs);
// Calls the idle hook alone, as PumpWaiting does after the messages: for a library's long work that
// waits for nothing (a large store rewrite), so that the host still paints. The queue is left alone.
void CallIdleHook();

// Milliseconds since some fixed point, for time-outs.
std::uint32_t TickCount();

}  // namespace plat
