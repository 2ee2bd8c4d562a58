#include "tests/ConsoleTest.h"

#include <cstdlib>
#include <cstring>

#include "tests/ConsoleExports.h"
#include "tests/ConsoleStore.h"
#include "tests/QuickExchanges.h"

namespace consoletest {

namespace {

constexpr std::uint32_t kOptionsBufferSize = 256;
constexpr std::size_t kOidSpare = 100;
constexpr std::size_t kValueBlanks = 200;

std::string JobFilePath() {
    const char* runtime = std::getenv("VORLANE_RUNTIME");
    return std::string(runtime != nullptr ? runtime : "/tmp") + "/jobs.txt";
}

}  // namespace

void ConsoleTest::SetUp() {
    ASSERT_TRUE(StoreQuickExchangeSettings());
    // What the installation leaves for the console's first start.
    ASSERT_TRUE(WriteStoreText(plat::kDisplayKey, "Options", "1605,1035,7695,10650"));
    ASSERT_TRUE(WriteStoreText(plat::kPrintJobsKey, "JobFile", JobFilePath()));
}

void ConsoleTest::TearDown() {
    if (running_) {
        ShutDown("");
    }
    cards.Stop();
    DeleteStoreKey(plat::kAdapterOnlyKey);
}

void ConsoleTest::StartCards(const std::string& description) {
    std::string error;
    ASSERT_TRUE(cards.Start(description, error)) << error;
}

std::int32_t ConsoleTest::StartUp(std::string& options) {
    char buffer[kOptionsBufferSize] = {};
    std::uint32_t size = sizeof buffer;
    const std::int32_t result = halbrin::HelperInitialize(mainWindowBox.Handle(), buffer, &size);
    running_ = true;  // shut down in any case, as the console does
    options.assign(buffer, strnlen(buffer, sizeof buffer));
    return result;
}

void ConsoleTest::ShutDown(const std::string& options) {
    EXPECT_EQ(halbrin::HelperCleanUp(options.c_str(), static_cast<std::uint32_t>(options.size() + 1)), 0);
    running_ = false;
}

std::int32_t ConsoleTest::GetObject(const std::string& adapter, const std::string& oid, std::string& value) {
    std::string oids = oid;
    oids.resize(oid.size() + kOidSpare, '\0');
    std::string values(kValueBlanks, ' ');
    values.push_back('\0');
    std::int32_t valueSize = static_cast<std::int32_t>(kValueBlanks);
    const std::int32_t result =
        vantorel::HelperSNMPTransact(adapter.c_str(), 0, oids.data(), static_cast<std::int32_t>(oids.size()),
                                     values.data(), &valueSize, 1);
    value = values.c_str();
    return result;
}

}  // namespace consoletest
