#include "platform/spooler/LastError.h"

namespace plat {

namespace {
thread_local std::uint32_t lastError = 0;
}

void SetLastError(std::uint32_t error) {
    lastError = error;
}

std::uint32_t GetLastError() {
    return lastError;
}

}  // namespace plat
