#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace console {

// "Set Password": a first password for the print server, which switches its protection on.
class frmPassword : public QDialog {
    Q_OBJECT

  public:
    // `passwordButton`: the configuration dialog's button, captioned "Modify Password" once set.
    frmPassword(QString adapter, QPushButton* passwordButton, QWidget* parent = nullptr);

    void pbuOK_Click();

    QLineEdit* txtPassword1;
    QLineEdit* txtPassword2;
    QPushButton* pbuOK;
    QPushButton* pbuCancel;

  private:
    QString adapter_;
    QPushButton* passwordButton_;
};

}  // namespace console
