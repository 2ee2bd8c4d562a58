#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace console {

// "Enter Password": the gate in front of the commands that change a protected print server (the
// current printer row's). Its answer stays "0" (refused) unless the typed password is the card's.
class frmGetPassword : public QDialog {
    Q_OBJECT

  public:
    explicit frmGetPassword(QWidget* parent = nullptr);

    void pbuOK_Click();
    void pbuCancel_Click();
    // "1" accepted, "0" refused or cancelled.
    QString txtOK() const { return answer_; }

    QLineEdit* txtPassword;
    QPushButton* pbuOK;
    QPushButton* pbuCancel;

  private:
    QLabel* lblPassword;
    QString answer_ = "0";
};

// The gate shown modally for the current row: true when it accepted. The main window's password
// dialog (what its gate shows once protection reads as on).
bool ShowPasswordGate(QWidget* parent);
// The whole gate of the Network Interface, Front Panel and Factory Default commands: true when
// protection is off, or on and the gate accepted; false when the switch cannot be read or the gate
// refused.
bool PassPasswordGate(QWidget* parent);

}  // namespace console
