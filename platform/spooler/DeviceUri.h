#pragma once

#include <optional>
#include <string>
#include <string_view>

// The device URI of a queue that prints to a port of the monitor: "vorlane:/" and the port's name,
// percent-encoded (a port is named after its print server: blanks, quotes and letters beyond ASCII
// come with it, and CUPS takes none of them in a URI as they stand).
namespace plat {

std::string PortDeviceUri(std::string_view port);
// The port a device URI names; nothing when it is no "vorlane:" URI, names no port, holds an escape
// that is not two hexadecimal digits, or a name with a NUL, which no port has.
std::optional<std::string> PortOfDeviceUri(std::string_view uri);

}  // namespace plat
