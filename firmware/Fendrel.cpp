// The firmware upgrade server: started by the console with "TLX" and the window that receives its
// events; serves the chosen firmware file by TFTP until the console releases and closes it.
#include "firmware/CommandLine.h"
#include "firmware/FirmwareMessages.h"
#include "firmware/FirmwareServer.h"
#include "firmware/ServerSettings.h"
#include "platform/services/MessageBox.h"
#include "platform/services/NamedMutex.h"
#include "platform/window/Window.h"

int main(int argc, char** argv) {
    plat::WindowHandle consoleWindow = 0;
    if (!fendrel::ParseCommandLine(fendrel::JoinArguments(argc, argv), consoleWindow)) {
        plat::MessageBox("FENDREL Server not launched from the TLX");
        return 1;
    }

    plat::NamedMutex mutex("FENDREL");
    if (mutex.AlreadyExisted()) {
        plat::WindowHandle running = 0;
        if (fendrel::ReadServerWindow(running) && consoleWindow != 0) {
            plat::SendMessage(consoleWindow, kTftpEventMessage, kTftpEventWParam,
                              TftpEventParam(kTftpEventNone, 0));
        }
        return 0;
    }

    fendrel::FirmwareServer server(consoleWindow, fendrel::ReadServerSettings());
    if (!server.Start()) {
        return 1;
    }
    plat::Message message;
    while (plat::GetMessage(message)) {
        plat::DispatchMessage(message);
    }
    mutex.Release();
    return static_cast<int>(message.wParam);
}
