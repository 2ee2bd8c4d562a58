#pragma once

#include <QDialog>

#include <vector>

#include "console/core/LocalizeForm.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace console {

// The printer choice: when several queues print to the current print server, the person picks the
// one whose document settings the Properties command opens.
class frmSelectWin : public QDialog {
    Q_OBJECT

  public:
    frmSelectWin(const std::vector<QString>& printers, QWidget* parent = nullptr);

    // The printer chosen with Open; "" after Cancel.
    QString Chosen() const { return chosen_; }
    QListWidget* List() const { return listWinPrinter; }
    QPushButton* OpenButton() const { return btnOpen; }

    void btnOpen_Click();

  private:
    QListWidget* listWinPrinter;
    QPushButton* btnCancel;
    QPushButton* btnOpen;
    QString chosen_;
};

}  // namespace console
