#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace console {

// The About box: the banner, what the program is, and an OK button.
class frmAboutBox : public QDialog {
  public:
    explicit frmAboutBox(QWidget* parent = nullptr);

  private:
    QLabel* Picture1;
    QLabel* lblAbout;
    QPushButton* Command1;
};

}  // namespace console
