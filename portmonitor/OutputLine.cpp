#include "portmonitor/OutputLine.h"

#include <cstdarg>
#include <string>

#include "platform/text/ControlCharacters.h"

void WriteLine(std::FILE* stream, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    va_list measure;
    va_copy(measure, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0) {
        std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    }
    va_end(arguments);
    std::fprintf(stream, "%s\n", plat::VisibleControls(text).c_str());
}
