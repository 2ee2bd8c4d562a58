#include "confighelper/DeviceStoreLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/services/DebugOutput.h"
#include "platform/window/RuntimeFolder.h"

DeviceStoreLock::DeviceStoreLock() {
    // Each holder opens the file anew: a lock of one open file excludes the others, threads included.
    const std::string path = plat::RuntimeFolder() + "/AdapterOnly.lock";
    file_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (file_ < 0) {
        plat::DebugPrintf("Device store: no lock file %s (errno %d)\n", path.c_str(), errno);
        return;
    }
    while (flock(file_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

DeviceStoreLock::~DeviceStoreLock() {
    if (file_ >= 0) {
        close(file_);
    }
}
