#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

#include "console/core/FormHelpers.h"

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Behaviours the configuration dialogs share (besides SelectAllOnFocus of FormHelpers.h): a tip shown in a
// dialog's tip label while the mouse is over a control, and the layout of the small password forms.
namespace console {

// Moving the mouse over the control puts the string `id` into the label (only while `when` holds,
// when one is given); leaving it clears the label.
void ShowTipOnHover(QWidget* control, QLabel* tips, int id, std::function<bool()> when = {});
// A password box: its characters show as dots, it selects its whole text on focus, and it refuses a
// character that the card cannot be sent as typed, saying so.
QLineEdit* MaskedBox(QWidget* parent);
// A small password form: a masked box under each caption, then OK (the default button) and Cancel.
struct MaskedForm {
    std::vector<std::pair<QLabel*, QLineEdit*>> rows;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};
MaskedForm LayOutMaskedForm(QDialog* dialog, const std::vector<QString>& captions);

}  // namespace console
