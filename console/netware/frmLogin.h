#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace console {

// Logs in to a bindery file server or to a directory tree (NwLoginKind 1, 2 or 3) before the console
// lists, creates or deletes queues there. A refused login keeps the dialog open for another try.
class frmLogin : public QDialog {
    Q_OBJECT

  public:
    explicit frmLogin(QWidget* owner);

    // Cancel and Esc.
    void reject() override;

    void cmdOk_Click();
    void cmdBrowse_Click();
    void chkBinderyConn_Click();

    QLineEdit* txtUserName;
    QLineEdit* txtPasswd;
    QLineEdit* txtContext;
    QCheckBox* chkBinderyConn;
    QPushButton* cmdBrowse;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

  private:
    // Whether OK logs in to the tree (else to the file server).
    bool TreeLogin() const;
    void UpdateContextControls();
    void UpdateOkButton();

    QLabel* lblUserName;
    QLabel* lblPasswd;
    QLabel* lblContext;
};

// Shows the NetWare login dialog modally, placed against `owner` (the dialog that opens it), for the
// login globals; the result is in NwLoginResult and NwLoginKind.
void ShowLoginDialog(QWidget* owner);

}  // namespace console
