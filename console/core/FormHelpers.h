#pragma once

#include <QString>

#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

// Small helpers that most of the console's dialogs use.
namespace console {

// Centres the form on the screen of its parent (its own without one), by the size it has once laid
// out: a form not yet shown is centred as it is about to be shown.
void CenterForm(QWidget* form);
void SelectAllText(QLineEdit* box);
// The box selects its whole text when it gets the focus or is double-clicked.
void SelectAllOnFocus(QLineEdit* box);

// Makes the button the one Enter presses in its dialog. Call it once the button stands in the
// dialog: one made the default before is lost as the dialog shows and picks a default of its own.
void MakeDefaultButton(QPushButton* button);

// The hourglass for as long as it lives.
class BusyCursor {
  public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
// Whether the list holds an entry equal to the text, both trimmed and without regard to case.
bool FindListItem(const QListWidget* list, const QString& text);

// Reads the records of a NameList ("%04d,%s," each, the last comma removed) one at a time: a
// non-empty list starts reading it, an empty one goes on with the list being read. The name comes
// back empty when nothing is left; `done` is set with the last name. A length that is not a number,
// or runs past the list, ends the reading.
class NameListReader {
  public:
    QString Next(const QString& list, bool& done);

  private:
    QString rest_;
};

// The fields of one comma-separated line, in order.
std::vector<QString> SplitList(const QString& line);

}  // namespace console
