#pragma once

#include "simulator/TftpClient.h"

// The tests read from the server as the simulated card does.
namespace fendreltest {

using sim::TftpClientOptions;
using sim::TftpClientResult;
using sim::TftpGet;

}  // namespace fendreltest
