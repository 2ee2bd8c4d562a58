#include "tests/TextBox.h"

#include <map>

#include "tests/EventLoop.h"

namespace consoletest {

namespace {

constexpr const char* kTextBoxClass = "CONSOLE_TEST_TEXT_BOX";

// Only the thread that made the boxes runs their procedure.
std::map<plat::WindowHandle, TextBox*>& Boxes() {
    static std::map<plat::WindowHandle, TextBox*> boxes;
    return boxes;
}

}  // namespace

TextBox::TextBox() {
    plat::RegisterWindowClass(kTextBoxClass, Procedure);  // false once registered: that is fine
    window_ = plat::CreateWindow(kTextBoxClass, "");
    Boxes()[window_] = this;
}

TextBox::~TextBox() {
    Boxes().erase(window_);
    plat::DestroyWindow(window_);
}

bool TextBox::WaitForLines(std::size_t count, std::uint32_t ms) {
    return RunEventsUntil([&] { return lines_.size() >= count; }, ms);
}

plat::LResult TextBox::Procedure(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                                 plat::LParam lParam) {
    if (message == plat::kWmSetText && lParam != 0) {
        auto box = Boxes().find(window);
        if (box != Boxes().end()) {
            box->second->lines_.emplace_back(reinterpret_cast<const char*>(lParam));
        }
    }
    return plat::DefWindowProc(window, message, wParam, lParam);
}

}  // namespace consoletest
