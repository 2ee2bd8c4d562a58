#pragma once

#include <cstddef>
#include <iterator>

namespace plat {

// The socket library's entry points by the names callers look them up with, in the list's order
// (SocketEntryPoints.def); the library exports each as kSocketExportPrefix + name.
inline constexpr const char* kSocketEntryPoints[] = {
#define VORSOCK_ENTRY(Result, name, parameters, arguments, failure) #name,
#include "platform/sock/SocketEntryPoints.def"
};
inline constexpr std::size_t kSocketEntryPointCount = std::size(kSocketEntryPoints);

}  // namespace plat
