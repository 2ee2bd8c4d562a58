#include "netware/UpperCase.h"

#include <cctype>

void UpperCaseInPlace(char* text) {
    for (; text != nullptr && *text != '\0'; ++text) {
        *text = static_cast<char>(std::toupper(static_cast<unsigned char>(*text)));
    }
}
