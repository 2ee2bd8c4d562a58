#include "console/core/BusyScope.h"

#include <QApplication>

namespace console {

namespace {

int gOpenScopes = 0;  // the console's one thread opens and closes them

}  // namespace

BusyScope::BusyScope() {
    ++gOpenScopes;
}

BusyScope::~BusyScope() {
    if (--gOpenScopes == 0) {
        emit Busy().Idle();
    }
}

bool WindowBusy() {
    return gOpenScopes > 0 || QApplication::activeModalWidget() != nullptr;
}

BusyNotices& Busy() {
    static BusyNotices notices;
    return notices;
}

}  // namespace console
