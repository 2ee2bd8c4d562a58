#include "console/core/NoticeBox.h"

#include <map>

namespace console {

namespace {

constexpr const char* kTextBoxClass = "QUILLMAR_TEXT_BOX";

// The boxes live on the console's one thread, which alone runs their procedure.
std::map<plat::WindowHandle, NoticeBox*>& Boxes() {
    static std::map<plat::WindowHandle, NoticeBox*> boxes;
    return boxes;
}

}  // namespace

NoticeBox::NoticeBox(std::function<void(const QString&)> changed) : changed_(std::move(changed)) {
    plat::RegisterWindowClass(kTextBoxClass, Procedure);  // false once registered, which is fine
    window_ = plat::CreateWindow(kTextBoxClass, "");
    Boxes()[window_] = this;
}

NoticeBox::~NoticeBox() {
    Boxes().erase(window_);
    plat::DestroyWindow(window_);
}

plat::LResult NoticeBox::Procedure(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                                   plat::LParam lParam) {
    const plat::LResult result = plat::DefWindowProc(window, message, wParam, lParam);
    if (message == plat::kWmSetText && lParam != 0) {
        const auto box = Boxes().find(window);
        if (box != Boxes().end() && box->second->changed_) {
            box->second->changed_(QString::fromLatin1(reinterpret_cast<const char*>(lParam)));
        }
    }
    return result;
}

}  // namespace console
