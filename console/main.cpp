// The management console, English build. With --exit-after-detection it ends once its first
// detection has filled the list, saying how many print servers it lists (a smoke test's run). Ctrl-C
// and SIGTERM end it as closing its window does.
#include <iostream>

#include "console/CommandWiring.h"
#include "console/StopSignals.h"
#include "console/core/ConsoleApplication.h"
#include "console/core/ConsoleState.h"
#include "console/core/FaultRule.h"
#include "console/core/NewLook.h"
#include "console/core/QueuePump.h"

int main(int argc, char** argv) {
    console::ConsoleApplication application(argc, argv);
    const bool exitAfterDetection = application.arguments().contains("--exit-after-detection");
    console::WireCommands();
    console::QueuePump pump;
    console::NewLook window;
    console::QuitOnStopSignals(&window);
    try {
        if (!window.Form_Load()) {
            return 1;
        }
    } catch (const std::exception& fault) {
        console::EndOnFault(fault);
    }
    window.show();
    window.FirstDetectionAfterSplash([&] {
        if (exitAfterDetection) {
            std::cout << console::State().rows.size() << " print servers listed" << std::endl;
            window.close();
        }
    });
    const int code = application.exec();
    window.close();  // after a stop signal; nothing more once the window was closed
    return code;
}
