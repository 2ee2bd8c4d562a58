// plain-copy FILE: the plain counterpart of a job through the backend, as a process of its own: it
// sends the file over one TCP connection to the benchmarks' plain listener, read and sent in the
// pieces the backend reads, and ends when the listener has read everything (it closes after the end
// of the stream). Exit code 0 when every byte went.
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

#include "portmonitor/bench/BenchCard.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    const int file = open(argv[1], O_RDONLY | O_CLOEXEC);
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = portmon::bench::PlainEndpoint();
    if (file < 0 || connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return 1;
    }
    std::vector<char> buffer(262144);
    ssize_t got = 0;
    while ((got = read(file, buffer.data(), buffer.size())) > 0) {
        for (ssize_t offset = 0; offset < got;) {
            const ssize_t sent =
                send(fd, buffer.data() + offset, static_cast<size_t>(got - offset), MSG_NOSIGNAL);
            if (sent <= 0) {
                return 1;
            }
            offset += sent;
        }
    }
    shutdown(fd, SHUT_WR);
    char byte;
    recv(fd, &byte, 1, 0);
    return got == 0 ? 0 : 1;
}
