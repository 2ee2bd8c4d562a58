#pragma once

#include <QApplication>

namespace console {

// The console's application: a fault that escapes an event handler is shown, and the console goes
// on (FaultRule.h).
class ConsoleApplication : public QApplication {
  public:
    ConsoleApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace console
