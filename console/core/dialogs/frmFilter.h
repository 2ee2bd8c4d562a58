#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace console {

class HintLine;

// Printer Filter: the print servers to show, chosen by moving them between two lists. OK sets the
// filter to the chosen hardware addresses; Cancel changes nothing.
class frmFilter : public QDialog {
    Q_OBJECT

  public:
    explicit frmFilter(QWidget* parent = nullptr);

    void pbuAdd_Click();
    void pbuRemove_Click();
    void pbuOk_Click();

    QListWidget* Available() const { return lstAvail; }
    QListWidget* Filtered() const { return lstFiltered; }

  private:
    void UpdateButtons();

    QListWidget* lstAvail;
    QListWidget* lstFiltered;
    QPushButton* pbuAdd;
    QPushButton* pbuRemove;
    QPushButton* pbuOk;
    QPushButton* pbuCancel;
    HintLine* lblTips;
};

}  // namespace console
