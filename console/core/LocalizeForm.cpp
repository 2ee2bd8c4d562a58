#include "console/core/LocalizeForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QWidget>

#include "console/core/StringTable.h"

namespace console {

namespace {

template <typename Control>
CaptionOrder::Captioned TextCaption(Control* control) {
    return {[control] { return control->text(); }, [control](const QString& text) { control->setText(text); },
            nullptr};
}

bool TakesId(const QString& caption) {
    return !caption.isEmpty() && caption != "-";
}

}  // namespace

CaptionOrder& CaptionOrder::operator<<(QAbstractButton* button) {
    controls_.push_back(TextCaption(button));
    return *this;
}

CaptionOrder& CaptionOrder::operator<<(QLabel* label) {
    controls_.push_back(TextCaption(label));
    return *this;
}

CaptionOrder& CaptionOrder::operator<<(QGroupBox* frame) {
    controls_.push_back(
        {[frame] { return frame->title(); }, [frame](const QString& t) { frame->setTitle(t); }, nullptr});
    return *this;
}

CaptionOrder& CaptionOrder::operator<<(QAction* menuItem) {
    controls_.push_back({[menuItem] { return menuItem->isSeparator() ? QString("-") : menuItem->text(); },
                         [menuItem](const QString& t) { menuItem->setText(t); }, nullptr});
    return *this;
}

CaptionOrder& CaptionOrder::operator<<(QMenu* menu) {
    controls_.push_back(
        {[menu] { return menu->title(); }, [menu](const QString& t) { menu->setTitle(t); }, nullptr});
    return *this;
}

CaptionOrder& CaptionOrder::operator<<(QTabWidget* tabs) {
    controls_.push_back({{}, {}, tabs});
    return *this;
}

void LocalizeForm(QWidget* form, int baseId, const CaptionOrder& order) {
    const bool keep = baseId == kKeepCaptions;
    if (!keep) {
        form->setWindowTitle(LoadString(baseId));
    }
    int next = baseId + 1;
    for (const CaptionOrder::Captioned& control : order.Controls()) {
        if (control.tabs != nullptr) {
            for (int tab = 0; tab < control.tabs->count(); ++tab, ++next) {
                if (!keep) {
                    control.tabs->setTabText(tab, LoadString(next));
                }
            }
        } else if (TakesId(control.caption())) {
            if (!keep) {
                control.setCaption(LoadString(next));
            }
            ++next;
        }
    }
}

}  // namespace console
