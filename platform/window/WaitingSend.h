#pragma once

#include "platform/window/SentMessage.h"
#include "platform/window/Window.h"
#include "platform/window/WindowTable.h"

namespace plat {

// A send to a window of another thread or process: the sender waits for the answer and meanwhile
// serves what other threads and processes send to its own thread, so that two senders waiting for
// each other both get through. Both answer 0 when the window goes or its process ends meanwhile.
LResult SendToThread(const WindowRecord& record, const Message& message);
LResult SendToProcess(const Message& message);

// Runs a message sent to a window of the calling thread and answers it (0 when it is not such a window).
void DispatchSent(SentMessage& sent);

}  // namespace plat
