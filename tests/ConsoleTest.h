#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/SimulatorProcess.h"
#include "tests/TextBox.h"

namespace consoletest {

// The printer status object of a card, which the console reads after each detection.
inline constexpr const char* kPrinterStatusOid = "1.3.6.1.4.1.32473.11.5.1.1.9.1.0";

// The console's run around each test: short time-outs and the start-up values in the store, the
// test's cards in a simulator program, start-up with the main window's hidden text box, and
// shut-down at the end unless the test shut the console down itself.
class ConsoleTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the simulator program on a description of cards.
    void StartCards(const std::string& description);
    // HelperInitialize as the console's start-up calls it; the stored display options come back in
    // `options`.
    std::int32_t StartUp(std::string& options);
    // HelperCleanUp with the display options, as the console's shut-down calls it.
    void ShutDown(const std::string& options);
    // One object read as every get of the console makes it (an identifier list with 100 bytes to
    // spare, a value buffer of 200 blanks): the library's result, the value text in `value`.
    std::int32_t GetObject(const std::string& adapter, const std::string& oid, std::string& value);

    SimulatorProcess cards;
    TextBox mainWindowBox;  // the main window's hidden box that receives the status notices

  private:
    bool running_ = false;
};

}  // namespace consoletest
