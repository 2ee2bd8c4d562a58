#include "platform/sock/SocketError.h"

#include "platform/sock/SocketLibrary.h"

namespace plat {

namespace {

thread_local int lastError = 0;

}  // namespace

void SetSocketError(int error) {
    lastError = error;
}

int GetSocketError() {
    return lastError;
}

int Fail(int error) {
    lastError = error;
    return kSocketError;
}

}  // namespace plat
