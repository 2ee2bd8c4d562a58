#pragma once

#include <QStackedWidget>

#include <functional>
#include <vector>

#include <cstdint>

class QListView;
class QStandardItem;
class QStandardItemModel;
class QTreeView;

namespace console {

// The main window's printer list (grdDetails): one item per printer row, shown as large icons,
// small icons or a detailed list; the item carries its row's hardware address.
class PrinterList : public QStackedWidget {
    Q_OBJECT

  public:
    enum ViewMode : int { kLargeIcons = 0, kSmallIcons = 1, kDetails = 2 };

    explicit PrinterList(QWidget* parent = nullptr);

    // Refills the items from the rows; unless keepColumns, the headers are made anew from the
    // visible columns (the present widths stored first).
    void FillPrinterList(bool keepColumns);
    // Stores the detailed list's column widths into the columns' layout.
    void SaveListColumns();
    void SetViewMode(int mode);

    // The row of the selected item becomes the current row (none without a selection).
    void SelectCurrentPrinter();
    // The hardware address of the selected item, "" without one.
    QString SelectedMac() const;
    // Selects the item of the hardware address, when there is one.
    void SelectMac(const QString& mac);

    // A status notice for a print server: its items show the new status and icon.
    void ShowStatus(const QString& mac, std::int32_t status, std::uint32_t category);

    QStandardItemModel* Model() const;
    QTreeView* DetailView() const { return details_; }
    QListView* IconView() const { return icons_; }

  signals:
    void ItemClicked();
    void ItemActivated();
    void ContextMenuWanted(const QPoint& globalPosition);
    void HeaderClicked(const QString& title);
    void PointerMoved();

  private:
    // The texts of a row's items in the model's columns, the first item's icon and tooltip apart.
    struct RowItems {
        QIcon icon;
        QString toolTip;  // empty for none
        QStringList texts;
    };
    static RowItems ItemsOf(int rowIndex);
    void AddRow(const RowItems& items, const QString& mac);
    void RewriteRow(int modelRow, const RowItems& items, const QString& mac);
    int StatusSection() const;
    // Calls visit(section, column) for each section of the model and the column its title names.
    void ForEachSection(const std::function<void(int, std::size_t)>& visit) const;

    // The list rows that show the hardware address: the rows of the table hold it in list order.
    std::vector<int> RowsOf(const QString& mac) const;

    class Items;
    Items* model_;
    QTreeView* details_;
    QListView* icons_;
};

}  // namespace console
