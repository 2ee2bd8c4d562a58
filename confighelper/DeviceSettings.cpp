#include "confighelper/Halbrin.h"
#include "platform/services/ExportGuard.h"
#include "platform/spooler/Spooler.h"

namespace {

HelperResult EditSettings(plat::WindowHandle owner, const char* printerName) {
    const plat::OpenedPrinter printer = plat::OpenPrinter(printerName);
    plat::DocumentSettings settings;
    if (!printer || !plat::GetPrinterSettings(printer.get(), settings)) {
        return kHelperPrinterNotOpened;
    }
    if (!plat::DocumentProperties(owner, printer.get(), settings)) {
        return kHelperOk;
    }
    return plat::SetPrinterSettings(printer.get(), settings) ? kHelperOk : kHelperSettingsNotSaved;
}

}  // namespace

HALBRIN_EXPORT HelperResult HelperDeviceSettings32(plat::WindowHandle owner, const char* printerName) {
    if (printerName == nullptr) {
        return kHelperPrinterNotOpened;
    }
    return plat::GuardExport(kHelperSettingsNotSaved, kHelperNoMemory,
                             [&] { return EditSettings(owner, printerName); });
}
