#pragma once

#include <string>

#include "simulator/JobListener.h"
#include "simulator/Simulator.h"

namespace sim {

// Serves the control channel: command lines from standard input (until it ends) and from every
// client of a Unix stream socket, one reply per line, until "quit", SIGINT or SIGTERM.
class ControlServer {
  public:
    explicit ControlServer(Simulator& simulator, JobListener* jobs = nullptr)
        : simulator_(simulator), jobs_(jobs) {}

    // Blocks SIGINT and SIGTERM for this thread and the threads it starts afterwards, so that
    // Serve takes them; call before the simulator starts.
    static void BlockStopSignals();

    // An empty path serves standard input only. False with the reason when the socket cannot be
    // made.
    bool Listen(const std::string& socketPath, std::string& error);
    void Serve();
    ~ControlServer();

  private:
    struct Client {
        int fd;
        std::string pending;
    };

    // False when the client has gone or asked to quit.
    bool Feed(Client& client, bool& quit);
    // To standard output for standard input's lines, else back to the client.
    static void Reply(const Client& client, const std::string& reply);

    Simulator& simulator_;
    JobListener* jobs_;  // its commands too, when there is one
    int listenFd_ = -1;
    std::string socketPath_;
};

}  // namespace sim
