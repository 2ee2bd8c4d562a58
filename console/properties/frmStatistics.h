#pragma once

#include <QDialog>

#include <array>

#include "console/properties/StatisticsGroups.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace console {

// The protocol statistics dialog: five trees of counter groups of the current row's print server,
// each group read from the device when it is opened and dropped when it is closed.
class frmStatistics : public QDialog {
    Q_OBJECT

  public:
    explicit frmStatistics(QWidget* parent = nullptr);

    // Fills the boxes and the group items and reads which protocols the print server runs.
    void Form_Load();

    QTabWidget* Tabs() const { return tabDetails; }
    QTreeWidget* Tree(StatisticsTree tree) const { return trees_[tree]; }
    QLabel* Tips() const { return lblTips; }
    // A click on the item of the tree, as a person gives it.
    void ClickItem(StatisticsTree tree, QTreeWidgetItem* item);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void ReadProtocolAvailability();
    void TreeEvent(StatisticsTree tree, QTreeWidgetItem* item);
    bool OpenGroup(const StatisticsGroup& group, QTreeWidgetItem* item);
    void CloseGroup(QTreeWidgetItem* item);

    QString adapter_;
    bool treesReady_ = false;
    QLabel* lblName;
    QLineEdit* txtPrintServerName;
    QLabel* lblDescription;
    QLineEdit* txtDescription;
    QTabWidget* tabDetails;
    std::array<QTreeWidget*, kTreeCount> trees_{};
    QPushButton* pbuQuit;
    QLabel* lblTips;
};

}  // namespace console
