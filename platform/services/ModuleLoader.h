#pragma once

#include <string>

namespace plat {

// Libraries are loaded by the names the system has always used for them ("wsock32.dll",
// "DLCAPI.DLL"). A name map turns such a name, compared without regard to case, into a shared
// object; a bare file name is looked up beside this platform library first, then
// where the dynamic loader looks. Names that are not in the
// map do not load.
//
// Each mapped file may carry an export prefix: the socket library exports its entry points as
// "vorsock_bind", "vorsock_sendto" ... so that they never stand in for the C library's functions of the
// same names, and ModuleSymbol(module, "bind") finds "vorsock_bind".
struct Module;
using ModuleHandle = Module*;

inline constexpr const char* kSocketExportPrefix = "vorsock_";

ModuleHandle LoadModule(const char* name);
void* ModuleSymbol(ModuleHandle module, const char* symbol);
void FreeModule(ModuleHandle module);

// Adds or replaces an entry of the name map; an empty file removes the entry (tests use this to
// make a library "missing" without touching it).
void MapModuleName(const std::string& name, const std::string& file, const std::string& exportPrefix = "");

}  // namespace plat
