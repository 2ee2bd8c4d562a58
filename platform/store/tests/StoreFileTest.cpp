#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/store/tests/AdderProcess.h"

namespace {

namespace fs = std::filesystem;

// A file that VORLANE_REGISTRY names by mistake.
struct ForeignFile {
    const char* what;
    std::vector<std::string> sql;  // empty: the file is not a database at all
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

fs::path Make(const fs::path& path, const ForeignFile& file) {
    fs::remove(path);
    if (file.sql.empty()) {
        std::ofstream(path, std::ios::binary) << std::string(4096, 'x');
        return path;
    }
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    for (const std::string& sql : file.sql) {
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    }
    sqlite3_close(db);
    return path;
}

TEST(StoreFile, AFileThatIsNotTheStoreIsRefusedAndLeftAsItWas) {
    const std::vector<ForeignFile> files = {
        {"not a database", {}},
        {"another program's database",
         {"CREATE TABLE printers (name TEXT)", "INSERT INTO printers VALUES ('a')"}},
        {"tables of the store's names, other layout", {"CREATE TABLE store_keys (x)"}},
        {"the store's marks, another layout version",
         {"CREATE TABLE t (x)", "PRAGMA application_id = 1450144364", "PRAGMA user_version = 7"}},
    };
    const fs::path folder = fs::path(std::getenv("VORLANE_REGISTRY")).parent_path();
    for (const ForeignFile& file : files) {
        SCOPED_TRACE(file.what);
        const fs::path path = Make(folder / "foreign.db", file);
        const std::string before = ReadAll(path);

        AdderProcess adder("Software\\Vorlane", 1, path.string());
        ASSERT_TRUE(adder.Started());
        adder.Open();
        EXPECT_FALSE(adder.Ready());
        int exitCode = 0;
        adder.Finish(&exitCode);
        EXPECT_EQ(exitCode, 4) << "the adder's answer to a store it cannot open";
        EXPECT_EQ(ReadAll(path), before);
        fs::remove(path);
    }
}

TEST(StoreFile, AMissingFileAndItsFoldersAreMade) {
    const fs::path folder = fs::path(std::getenv("VORLANE_REGISTRY")).parent_path() / "new" / "deeper";
    fs::remove_all(folder.parent_path());
    AdderProcess adder("Software\\Vorlane", 3, (folder / "registry.db").string());
    ASSERT_TRUE(adder.Started());
    adder.Open();
    EXPECT_TRUE(adder.Ready());
    int exitCode = -1;
    EXPECT_EQ(adder.Finish(&exitCode), (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(fs::exists(folder / "registry.db"));
    fs::remove_all(folder.parent_path());
}

}  // namespace
