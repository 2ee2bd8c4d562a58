#include "platform/spooler/DeviceUri.h"

#include "platform/text/HexDigit.h"

namespace plat {

namespace {

constexpr std::string_view kScheme = "vorlane:";
constexpr char kHexDigits[] = "0123456789ABCDEF";

// RFC 3986's unreserved characters: the only ones that go as they are.
bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string PortDeviceUri(std::string_view port) {
    std::string uri = std::string(kScheme) + "/";
    for (char c : port) {
        const auto byte = static_cast<unsigned char>(c);
        if (Unreserved(byte)) {
            uri += c;
        } else {
            uri += '%';
            uri += kHexDigits[byte >> 4];
            uri += kHexDigits[byte & 0x0F];
        }
    }
    return uri;
}

std::optional<std::string> PortOfDeviceUri(std::string_view uri) {
    if (uri.substr(0, kScheme.size()) != kScheme) {
        return std::nullopt;
    }
    uri.remove_prefix(kScheme.size());
    while (!uri.empty() && uri.front() == '/') {
        uri.remove_prefix(1);
    }
    std::string port;
    for (std::size_t at = 0; at < uri.size(); ++at) {
        if (uri[at] != '%') {
            port += uri[at];
            continue;
        }
        const int high = at + 2 < uri.size() ? HexDigit(uri[at + 1]) : -1;
        const int low = at + 2 < uri.size() ? HexDigit(uri[at + 2]) : -1;
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        port += static_cast<char>(high << 4 | low);
        at += 2;
    }
    // A NUL would cut the name short on its way to the monitor, to another port's name. Other
    // control characters pass: only a port stored under exactly that name matches them.
    if (port.empty() || port.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return port;
}

}  // namespace plat
