#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace console {

// "Modify Password": a new password for the print server, after the old one has been checked.
class frmModifyPwd : public QDialog {
    Q_OBJECT

  public:
    explicit frmModifyPwd(QString adapter, QWidget* parent = nullptr);

    void pbuOK_Click();

    QLineEdit* txtOldPwd;
    QLineEdit* txtPassword1;
    QLineEdit* txtPassword2;
    QPushButton* pbuOK;
    QPushButton* pbuCancel;

  private:
    QString adapter_;
};

}  // namespace console
