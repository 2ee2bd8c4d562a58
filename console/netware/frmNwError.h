#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace console {

// The message of a NetWare set-up failure that has several possible causes (NwErrorId 25011, 30021
// or 30027), with the likely reasons of 25011 behind Details.
class frmNwError : public QDialog {
    Q_OBJECT

  public:
    explicit frmNwError(QWidget* owner);

    void cmdDetails_Click();

    QLabel* imgIcon;
    QLabel* lblErrorString;
    QLabel* picDetails;
    QPushButton* cmdOk;
    QPushButton* cmdDetails;

  private:
    void ShowReasons();
};

// Whether a message id has several possible causes (25011, 30021, 30027): those the NetWare error
// dialog explains.
bool HasReasons(int id);

// Shows the NetWare error dialog modally for NwErrorId.
void ShowNetWareErrorDialog(QWidget* owner);

// Routes the console's messages 25011, 30021 and 30027 to the NetWare error dialog while
// NwErrorDialogFlag is -1. Called once at start-up.
void WireNetWareErrorDialog();

// Shows a NetWare set-up result as a warning, through the NetWare error dialog when the result has
// several possible causes; returns the button pressed. A result of 0 shows nothing.
int ShowNetWareSetupResult(int code);

}  // namespace console
