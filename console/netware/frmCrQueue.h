#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace console {

class HintLine;

// Creates a NetWare print queue on a bindery file server, or in a directory context on a volume.
// The dialog closes after the attempt, whether the queue was made or not.
class frmCrQueue : public QDialog {
    Q_OBJECT

  public:
    explicit frmCrQueue(QWidget* owner);

    void cmdOk_Click();
    void cmdBrowse_Click();

    QLineEdit* txtQueueName;
    QLineEdit* txtContext;
    QLineEdit* txtVolume;
    QPushButton* cmdBrowse;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;
    HintLine* pnlOpGuide;

  private:
    void SetupControls();
    void UpdateOkButton();

    QLabel* lblQueueName;
    QLabel* lblContext;
    QLabel* lblVolume;
};

// Shows the create queue dialog modally, placed against `owner`, for the CrQueue globals; the
// result is in CrQueueCreated and CrQueueName.
void ShowCreateQueueDialog(QWidget* owner);

}  // namespace console
