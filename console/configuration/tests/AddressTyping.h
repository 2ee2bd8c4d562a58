#pragma once

#include <QStringList>

#include "console/configuration/AddressBoxes.h"
#include "console/tests/Typing.h"

namespace consoletest {

// A dotted address typed into the four octet boxes, box by box.
inline void TypeAddress(console::AddressBoxes* boxes, const QString& address) {
    const QStringList parts = address.split('.');
    for (int i = 0; i < 4 && i < parts.size(); ++i) {
        Retype(boxes->Box(i), parts[i]);
    }
}

}  // namespace consoletest
