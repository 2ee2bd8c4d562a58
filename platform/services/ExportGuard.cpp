#include "platform/services/ExportGuard.h"

#include "platform/services/DebugOutput.h"

namespace plat {

void ReportExportFault(ExportSite where, const char* what) noexcept {
    DebugPrintf("%s stopped: %s\n", where != nullptr ? where : "an export", what != nullptr ? what : "");
}

}  // namespace plat
