#pragma once

#include <QObject>

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

  private:
    void WhileLibraryWaits();

    QSocketNotifier* notifier_;
};

}  // namespace console
