#include "platform/services/NamedMutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/services/DebugOutput.h"
#include "platform/window/RuntimeFolder.h"

namespace plat {

namespace {

// Any character that could leave the folder becomes '_'.
std::string LockPath(const std::string& name) {
    std::string file = "mutex-" + name;
    for (char& c : file) {
        if (c == '/' || c == '\0') {
            c = '_';
        }
    }
    return RuntimeFolder() + "/" + file;
}

}  // namespace

// An exclusive lock on a file: the system drops it when its holder ends, however it ends.
NamedMutex::NamedMutex(const std::string& name) {
    const std::string path = LockPath(name);
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        DebugPrintf("named mutex %s cannot be made\n", path.c_str());
        return;
    }
    int locked;
    do {
        locked = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        alreadyExisted_ = errno == EWOULDBLOCK;
        ::close(fd_);
        fd_ = -1;
    }
}

NamedMutex::~NamedMutex() {
    Release();
}

void NamedMutex::Release() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace plat
