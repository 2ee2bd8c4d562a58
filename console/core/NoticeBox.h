#pragma once

#include <QString>

#include <functional>

#include "platform/window/Window.h"

namespace console {

// A hidden text box of the console: a window whose handle a library is given, and whose text the
// library sets to hand over a notice. Every setting of the text runs the change handler, identical
// text included.
class NoticeBox {
  public:
    explicit NoticeBox(std::function<void(const QString&)> changed);
    ~NoticeBox();
    NoticeBox(const NoticeBox&) = delete;
    NoticeBox& operator=(const NoticeBox&) = delete;

    plat::WindowHandle Handle() const { return window_; }

  private:
    static plat::LResult Procedure(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                                   plat::LParam lParam);

    std::function<void(const QString&)> changed_;
    plat::WindowHandle window_ = 0;
};

}  // namespace console
