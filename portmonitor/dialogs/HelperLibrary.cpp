#include "portmonitor/dialogs/HelperLibrary.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdint>

#include "platform/services/ModuleLoader.h"
#include "platform/window/Window.h"

namespace {

using DetectFunction = std::int32_t (*)(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                        plat::WindowHandle);
using ValidateFunction = std::int32_t (*)(const char*, std::int32_t);

// Runs `call` with the export of the library, under the wait cursor; false when it is missing. The
// library stays loaded once it was: what a detection leaves running (timers, listeners) must not
// outlive its code.
template <class Function, class Call>
bool WithExport(const char* name, Call call) {
    static plat::ModuleHandle module = plat::LoadModule("Halbrin.dll");
    auto function =
        module != nullptr ? reinterpret_cast<Function>(plat::ModuleSymbol(module, name)) : nullptr;
    if (function == nullptr) {
        return false;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool result = call(function);
    QGuiApplication::restoreOverrideCursor();
    return result;
}

}  // namespace

void DetectPrintServers() {
    WithExport<DetectFunction>("HelperDetectPrintServers", [](DetectFunction detect) {
        detect(0, 0, 0, 0, 0, 0);
        return true;
    });
}

bool ValidateAdapter(const std::string& address, int kind) {
    return WithExport<ValidateFunction>("HelperValidateAdapter", [&](ValidateFunction validate) {
        return validate(address.c_str(), kind) == 0;
    });
}
