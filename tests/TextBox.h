#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window/Window.h"

namespace consoletest {

// A hidden text box of the console on the calling thread: the libraries set its text to hand over
// a notice, and its change handler keeps every line, identical ones included.
class TextBox {
  public:
    TextBox();
    ~TextBox();
    TextBox(const TextBox&) = delete;
    TextBox& operator=(const TextBox&) = delete;

    plat::WindowHandle Handle() const { return window_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    void Clear() { lines_.clear(); }
    // Runs the console's event loop until `count` lines are there or `ms` passed.
    bool WaitForLines(std::size_t count, std::uint32_t ms);

  private:
    static plat::LResult Procedure(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                                   plat::LParam lParam);

    plat::WindowHandle window_ = 0;
    std::vector<std::string> lines_;
};

}  // namespace consoletest
