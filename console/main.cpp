// The management console, English build.
#include <QTimer>

#include "console/core/ConsoleApplication.h"
#include "console/core/NewLook.h"
#include "console/core/QueuePump.h"

int main(int argc, char** argv) {
    console::ConsoleApplication application(argc, argv);
    console::QueuePump pump;
    console::NewLook window;
    try {
        if (!window.Form_Load()) {
            return 1;
        }
    } catch (const std::exception& fault) {
        console::EndOnFault(fault);
    }
    window.show();
    QTimer::singleShot(0, &window, &console::NewLook::FirstDetection);
    return application.exec();
}
