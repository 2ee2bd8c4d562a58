#pragma once

#include <QApplication>

namespace console {

// The console's application: a fault that escapes an event handler is shown, and the console ends
// at once: a library that cannot be loaded as a broken installation, any other fault under
// "System Error".
class ConsoleApplication : public QApplication {
  public:
    ConsoleApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the fault as the console's fatal rule says and ends the process without its shut-down steps.
[[noreturn]] void EndOnFault(const std::exception& fault);

}  // namespace console
