#pragma once

#include <QObject>

// Work of the main window under way: a command, or a library wait that lets Qt's timers run. While
// any is, or a modal dialog is up, the automatic refresh holds back: a detection started inside
// would rebuild the tables under the work that is still using them.
namespace console {

class BusyScope {
  public:
    BusyScope();
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

// True while a scope is open or a modal dialog is up.
bool WindowBusy();

// Says when the last open scope has closed.
class BusyNotices : public QObject {
    Q_OBJECT

  signals:
    void Idle();
};
BusyNotices& Busy();

}  // namespace console
