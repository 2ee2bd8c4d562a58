#include "platform/services/ExportGuard.h"

#include "platform/services/DebugOutput.h"

namespace plat {

void ReportExportFault(const std::source_location& where, const char* what) noexcept {
    DebugPrintf("%s stopped: %s\n", where.function_name(), what != nullptr ? what : "");
}

}  // namespace plat
