#include "console/core/FaultRule.h"

#include <cstdlib>

#include "console/core/LateExport.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kBrokenInstallation = 31003;
constexpr int kSystemError = 302;

}  // namespace

void ShowFault(const std::exception& fault) {
    ShowPlainMessage(QString::fromLocal8Bit(fault.what()),
                     HasString(kSystemError) ? LoadString(kSystemError) : QString());
}

void EndOnFault(const std::exception& fault) {
    if (dynamic_cast<const LibraryMissing*>(&fault) != nullptr && HasString(kBrokenInstallation)) {
        ShowMessage(kBrokenInstallation, kCritical);
    } else {
        ShowFault(fault);
    }
    std::_Exit(EXIT_FAILURE);
}

}  // namespace console
