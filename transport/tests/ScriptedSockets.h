#pragma once

#include <gtest/gtest.h>

#include "platform/services/ModuleLoader.h"
#include "transport/tests/ScriptedSocketLibrary.h"

// Puts the scripted socket library in the place of "wsock32.dll" (the IPX transport's socket library)
// for as long as it lives, with a fresh script.
class ScriptedSockets {
  public:
    ScriptedSockets() {
        plat::MapModuleName("wsock32.dll", SCRIPTED_SOCKET_LIBRARY, plat::kSocketExportPrefix);
        module_ = plat::LoadModule("wsock32.dll");
        auto state = reinterpret_cast<ScriptStateEntry>(plat::ModuleSymbol(module_, "ScriptState"));
        EXPECT_NE(state, nullptr);
        script_ = state != nullptr ? state() : &unused_;
        *script_ = SocketScript{};
    }
    ScriptedSockets(const ScriptedSockets&) = delete;
    ScriptedSockets& operator=(const ScriptedSockets&) = delete;
    ~ScriptedSockets() {
        plat::FreeModule(module_);
        plat::MapModuleName("wsock32.dll", "libvorlanesock.so", plat::kSocketExportPrefix);
    }

    SocketScript& Script() { return *script_; }

  private:
    plat::ModuleHandle module_ = nullptr;
    SocketScript* script_ = nullptr;
    SocketScript unused_;
};
