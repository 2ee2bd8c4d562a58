#include "portmonitor/PortName.h"

#include "platform/text/ControlCharacters.h"
#include "portmonitor/MonitorStrings.h"

int PortNameFault(std::string_view name) {
    if (name.empty() || name.size() > kPortNameLimit || name.find('\\') != std::string_view::npos) {
        return kStrEnterPortName;
    }
    return plat::HasControlCharacter(name) ? kStrNoControlCharacters : 0;
}
