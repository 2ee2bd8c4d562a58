#pragma once

#include <QString>

#include <functional>
#include <vector>

class QAbstractButton;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QTabWidget;
class QWidget;

namespace console {

// A form's captioned controls in the one order the form declares: each takes the next id of the
// form's block when it has a caption other than "" and "-"; a tab control takes one id per tab.
class CaptionOrder {
  public:
    CaptionOrder& operator<<(QAbstractButton* button);
    CaptionOrder& operator<<(QLabel* label);
    CaptionOrder& operator<<(QGroupBox* frame);
    CaptionOrder& operator<<(QAction* menuItem);
    CaptionOrder& operator<<(QMenu* menu);
    CaptionOrder& operator<<(QTabWidget* tabs);

    struct Captioned {
        std::function<QString()> caption;
        std::function<void(const QString&)> setCaption;
        QTabWidget* tabs = nullptr;  // a tab control takes one id per tab instead
    };
    const std::vector<Captioned>& Controls() const { return controls_; }

  private:
    std::vector<Captioned> controls_;
};

// Keeps the design captions.
inline constexpr int kKeepCaptions = 9999;

// The form's caption becomes string baseId and its captioned controls strings baseId + 1, + 2 ...
// in the declared order; a missing id throws MissingString.
void LocalizeForm(QWidget* form, int baseId, const CaptionOrder& order);

}  // namespace console
