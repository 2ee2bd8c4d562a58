#pragma once

#include <sys/types.h>

namespace plat {

// This process's id without a system call each time: kept, and forgotten in a child made by fork.
pid_t CurrentProcessId();

}  // namespace plat
