#pragma once

#include <cstdint>
#include <string>

#include "platform/window/Window.h"

namespace fendrel {

// The transport's answer wait and retries ("UdpTimeOutInterval", "UdpTotalRetries" of the Snmp key).
struct ServerSettings {
    std::int32_t timeOutSeconds = 1;
    std::int32_t retries = 5;
};

ServerSettings ReadServerSettings();

// "FlashFile": the firmware file the console chose; empty when none.
std::string ReadChosenFile();

// "Window": the server window's handle in decimal, "0" when it has ended.
bool PublishServerWindow(plat::WindowHandle window);
bool ReadServerWindow(plat::WindowHandle& window);

}  // namespace fendrel
