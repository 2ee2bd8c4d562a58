#include <gtest/gtest.h>

#include "platform/services/ModuleLoader.h"

namespace {

TEST(ModuleLoader, NamesOutsideTheMapDoNotLoad) {
    EXPECT_EQ(plat::LoadModule("nosuch.dll"), nullptr);
    EXPECT_EQ(plat::LoadModule(nullptr), nullptr);
}

TEST(ModuleLoader, MappedNameLoadsCaseInsensitivelyAndCanBeRemoved) {
    plat::MapModuleName("Libc.DLL", "libc.so.6");
    plat::ModuleHandle module = plat::LoadModule("LIBC.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_NE(plat::ModuleSymbol(module, "strlen"), nullptr);
    EXPECT_EQ(plat::ModuleSymbol(module, "no_such_symbol_here"), nullptr);
    plat::FreeModule(module);

    plat::MapModuleName("libc.dll", "");
    EXPECT_EQ(plat::LoadModule("libc.dll"), nullptr);
}

}  // namespace
