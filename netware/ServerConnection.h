#pragma once

#include "netware/TessikResults.h"
#include "platform/netware/NetWareClient.h"

// Every bindery export's way to its server: the client's connection to the server by name, opened
// when none exists. Released at the end of the export: closed when it is not logged in, so that a
// logged-in connection stays open between calls.
class ServerConnection {
  public:
    ServerConnection() = default;
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    // kNwCannotConnect, or with `loginNeeded` kNwLoginRequired for a connection not logged in.
    NwResult Open(const char* server, bool loginNeeded);
    // The client's default connection.
    NwResult OpenDefault();

    plat::NwConnection Handle() const { return connection_; }
    plat::NwTarget Target() const { return {plat::NwTarget::Bindery, connection_}; }

  private:
    plat::NwConnection connection_ = 0;
    bool open_ = false;
};
