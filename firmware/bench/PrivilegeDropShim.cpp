// Preloaded into Debian's in.tftpd for the benchmark. The test network's user namespace refuses
// setgroups, which in.tftpd calls while it drops its privileges, and then ends at once; with these two
// calls answering success (and "-u root", the one user the namespace maps) it serves as it would on
// a host.
#include <grp.h>
#include <sys/types.h>

extern "C" int setgroups(size_t, const gid_t*) {
    return 0;
}

extern "C" int initgroups(const char*, gid_t) {
    return 0;
}
