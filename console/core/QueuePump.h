#pragma once

#include <QObject>

#include <cstdint>

class QSocketNotifier;

namespace console {

// Brings the platform's window messages, timers and socket notices into the Qt event loop of the
// console's one thread: the thread queue's descriptor is watched, and a library that pumps while it
// waits lets Qt paint through the platform's idle hook.
class QueuePump : public QObject {
  public:
    explicit QueuePump(QObject* parent = nullptr);
    ~QueuePump() override;

    // Dispatches every message that waits for this thread.
    static void DispatchWaiting();
    // For long work on the console's thread (a library's notices handled one after another, a long
    // table walk): lets Qt paint when it has not for a while, leaving the queue to whoever pumps it.
    static void KeepPainted();

  private:
    void WhileLibraryWaits();

    QSocketNotifier* notifier_;
    std::uint32_t lastPaintMs_ = 0;
};

}  // namespace console
