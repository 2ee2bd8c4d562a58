#pragma once

#include <QDialog>

#include <array>

#include "console/core/DisplayOptions.h"

class QPushButton;
class QRadioButton;

namespace console {

class HintLine;

// Sort: the column the printer list is sorted by and the order. OK sets both; Cancel changes nothing.
class frmSortCols : public QDialog {
    Q_OBJECT

  public:
    explicit frmSortCols(QWidget* parent = nullptr);

    void pbuOK_Click();
    QRadioButton* Column(std::size_t column) const { return optColumns[column]; }
    QRadioButton* Ascending() const { return optAsc; }
    QRadioButton* Descending() const { return optDesc; }

  private:
    QRadioButton* optAsc;
    QRadioButton* optDesc;
    std::array<QRadioButton*, kColumnCount> optColumns{};
    QPushButton* pbuOK;
    QPushButton* pbuCancel;
    HintLine* lblTips;
};

}  // namespace console
