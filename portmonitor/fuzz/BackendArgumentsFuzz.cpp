// Gives the backend's readers of what cupsd hands it any text: the device URI (DEVICE_URI) and the
// options argument. A URI that names a port names one without a NUL, and names it again once written
// back; an option found has a value no longer than the options.
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/spooler/DeviceUri.h"
#include "portmonitor/backend/CupsOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const std::optional<std::string> port = plat::PortOfDeviceUri(text)) {
        if (port->empty() || port->find('\0') != std::string::npos ||
            plat::PortOfDeviceUri(plat::PortDeviceUri(*port)) != port) {
            std::abort();
        }
    }
    // The first word names the option looked for in the rest.
    const std::size_t blank = text.find(' ');
    const std::string_view name = text.substr(0, blank);
    const std::string_view options = blank == std::string_view::npos ? "" : text.substr(blank + 1);
    if (const std::optional<std::string> value = CupsOptionValue(options, name)) {
        if (value->size() > options.size()) {
            std::abort();
        }
    }
    return 0;
}
