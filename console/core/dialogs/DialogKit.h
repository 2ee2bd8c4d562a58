#pragma once

#include <QLabel>
#include <QString>
#include <QValidator>

#include <initializer_list>
#include <map>

class QBoxLayout;
class QListWidget;
class QPushButton;

// What the console's own dialogs share: the hint line, key filters of text boxes, moving entries
// between two lists, and the row of buttons under a dialog.
namespace console {

// The hint line (lblTips): a control's hint while the mouse is over it, nothing over the form.
class HintLine : public QLabel {
  public:
    explicit HintLine(QWidget* form);
    void Attach(QWidget* control, int hintId);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* form_;
    std::map<QObject*, QString> hints_;
};

// Lets only the given characters into a text box; a refused key beeps when `beep` is set.
class CharacterFilter : public QValidator {
  public:
    CharacterFilter(QString allowed, QObject* parent, bool beep = false);
    State validate(QString& input, int& position) const override;

  private:
    QString allowed_;
    bool beep_;
};

inline constexpr const char* kDigits = "0123456789";
inline constexpr const char* kHexDigits = "0123456789ABCDEFabcdef";

// Moves every selected entry of `from`, in list order, to the end of `to`; the index of the last
// entry moved, less one (0 when nothing moved).
int MoveSelected(QListWidget* from, QListWidget* to);
// Each list is enabled with the button that takes entries out of it exactly when it has entries.
void EnableWithEntries(QListWidget* list, QPushButton* takeOut);
// Selects entry `row` of the list when it exists.
void SelectEntry(QListWidget* list, int row);

// The buttons at the foot of a dialog, to the right.
QBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);
// A framed line around the hint line, as the dialogs show it.
QWidget* HintPanel(HintLine* hint);

}  // namespace console
