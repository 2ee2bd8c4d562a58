#include "console/core/ConsoleApplication.h"

#include "console/core/FaultRule.h"

namespace console {

ConsoleApplication::ConsoleApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Quillmar");
    setOrganizationName("Vorlane");
}

bool ConsoleApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& fault) {
        ShowFault(fault);
        return false;
    }
}

}  // namespace console
