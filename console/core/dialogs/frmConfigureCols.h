#pragma once

#include <QDialog>

#include <array>

#include "console/core/DisplayOptions.h"

class QCheckBox;
class QPushButton;

namespace console {

// Columns: which columns of the printer list are shown. The name column is always shown (the other
// columns' texts follow it); in the first two groups of the tree the port and Windows printer
// columns are off.
class frmConfigureCols : public QDialog {
    Q_OBJECT

  public:
    frmConfigureCols(int treeGroup, QWidget* parent = nullptr);

    // The visible flags the boxes give.
    std::array<bool, kColumnCount> Chosen() const;
    QCheckBox* Heading(std::size_t column) const { return chkHeading[column]; }

  private:
    std::array<QCheckBox*, kColumnCount> chkHeading{};
    QPushButton* pbuOK;
    QPushButton* pbuCancel;
};

}  // namespace console
