#include "console/core/PrinterList.h"

#include <algorithm>

#include <QHeaderView>
#include <QListView>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTreeView>

#include "console/core/ConsoleState.h"
#include "console/core/Pictures.h"
#include "console/core/PrinterStatus.h"

namespace console {

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kMacRole = Qt::UserRole + 1;

QString ColumnText(const PrinterRow& row, std::size_t column) {
    switch (column) {
        case kDescriptionColumn:
            return row.description;
        case kStatusColumn:
            return RowStatusText(row.status, row.detected);
        case kIpColumn:
            return row.ip;
        case kIpxColumn:
            return row.ipx;
        case kMacColumn:
            return row.mac;
        case kPortColumn:
            return row.portName;
        case kWindowsPrinterColumn:
            return row.windowsPrinter;
        default:
            return row.name;
    }
}

// A row has an item for each visible column, and its first item when none is.
int ItemsPerRow() {
    const auto& columns = State().options.columns;
    return std::max(1, static_cast<int>(std::count_if(columns.begin(), columns.end(),
                                                      [](const auto& column) { return column.visible; })));
}

const QIcon& Icon(int number) {
    static const std::array<QIcon, 10> icons = [] {
        std::array<QIcon, 10> made;
        for (int i = 1; i < 10; ++i) {
            made[static_cast<std::size_t>(i)] = StatusIconPicture(i);
        }
        return made;
    }();
    return icons[static_cast<std::size_t>(number)];
}

// In the large icons every item has its grid cell: its size is the cell's, without measuring its name
// (ten thousand names measured cost more than the rest of the view's layout).
class GridCells : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const auto* view = qobject_cast<const QListView*>(option.widget);
        return view != nullptr && view->gridSize().isValid() ? view->gridSize()
                                                             : QStyledItemDelegate::sizeHint(option, index);
    }
};

}  // namespace

// The list's items. A refill tells the views once that everything changed, rather than once per
// row: ten thousand rows, each announced, cost the two views more than making them.
class PrinterList::Items : public QStandardItemModel {
  public:
    using QStandardItemModel::QStandardItemModel;
    void Refill(const std::function<void()>& fill) {
        beginResetModel();
        {
            const QSignalBlocker quiet(this);
            fill();
        }
        endResetModel();
    }
};

PrinterList::PrinterList(QWidget* parent)
    : QStackedWidget(parent), model_(new Items(this)), details_(new QTreeView), icons_(new QListView) {
    setObjectName("grdDetails");
    details_->setModel(model_);
    details_->setRootIsDecorated(false);
    details_->setUniformRowHeights(true);
    details_->setAlternatingRowColors(true);
    details_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    details_->setSelectionBehavior(QAbstractItemView::SelectRows);
    details_->setContextMenuPolicy(Qt::CustomContextMenu);
    details_->header()->setSectionsClickable(true);
    details_->header()->setSortIndicatorShown(false);
    details_->header()->setStretchLastSection(false);  // each column keeps the width it is given
    icons_->setModel(model_);
    icons_->setSelectionModel(details_->selectionModel());
    icons_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    icons_->setContextMenuPolicy(Qt::CustomContextMenu);
    icons_->setResizeMode(QListView::Adjust);
    icons_->setWordWrap(true);
    icons_->setItemDelegate(new GridCells(icons_));
    addWidget(icons_);
    addWidget(details_);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(icons_)}) {
        view->setMouseTracking(true);
        connect(view, &QAbstractItemView::clicked, this, &PrinterList::ItemClicked);
        connect(view, &QAbstractItemView::activated, this, &PrinterList::ItemActivated);
        connect(view, &QAbstractItemView::entered, this, &PrinterList::PointerMoved);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) {
            const QModelIndex index = view->indexAt(at);
            if (index.isValid()) {
                view->setCurrentIndex(index);
                emit ItemClicked();
            }
            emit ContextMenuWanted(view->viewport()->mapToGlobal(at));
        });
    }
    connect(details_->header(), &QHeaderView::sectionClicked, this, [this](int section) {
        emit HeaderClicked(model_->headerData(section, Qt::Horizontal).toString());
    });
}

QStandardItemModel* PrinterList::Model() const {
    return model_;
}

void PrinterList::SetViewMode(int mode) {
    if (mode == kDetails) {
        setCurrentWidget(details_);
        return;
    }
    const bool large = mode == kLargeIcons;
    icons_->setViewMode(large ? QListView::IconMode : QListView::ListMode);
    icons_->setFlow(large ? QListView::LeftToRight : QListView::TopToBottom);
    icons_->setWrapping(true);
    icons_->setIconSize(large ? QSize(32, 32) : QSize(16, 16));
    icons_->setGridSize(large ? QSize(110, 72) : QSize());
    icons_->setSpacing(large ? 0 : 2);
    setCurrentWidget(icons_);
}

void PrinterList::ForEachSection(const std::function<void(int, std::size_t)>& visit) const {
    for (int section = 0; section < model_->columnCount(); ++section) {
        const QString title = model_->headerData(section, Qt::Horizontal).toString();
        for (std::size_t column = 0; column < kColumnCount; ++column) {
            if (State().columnTitles[column] == title) {
                visit(section, column);
            }
        }
    }
}

void PrinterList::SaveListColumns() {
    ForEachSection([this](int section, std::size_t column) {
        State().options.columns[column].width = details_->columnWidth(section) * kTwipsPerPixel;
    });
}

void PrinterList::FillPrinterList(bool keepColumns) {
    ConsoleState& state = State();
    const QString selected = SelectedMac();
    SaveListColumns();
    state.listFilling = true;
    setUpdatesEnabled(false);
    const int rows = static_cast<int>(state.rows.size());
    model_->Refill([&] {
        // With the columns kept, the rows there are take the new texts in place: ten thousand rows
        // made anew, and as many thrown away, cost most of a refill.
        const int kept = keepColumns && model_->columnCount() == ItemsPerRow() ? rows : 0;
        model_->removeRows(kept, std::max(0, model_->rowCount() - kept));
        if (!keepColumns) {
            QStringList titles;
            for (std::size_t column = 0; column < kColumnCount; ++column) {
                if (state.options.columns[column].visible) {
                    titles << state.columnTitles[column];
                }
            }
            model_->setColumnCount(static_cast<int>(titles.size()));
            model_->setHorizontalHeaderLabels(titles);
        }
        for (int row = 0; row < rows; ++row) {
            const QString& mac = state.rows[static_cast<std::size_t>(row)].mac;
            if (row < model_->rowCount()) {
                RewriteRow(row, ItemsOf(row), mac);
            } else {
                AddRow(ItemsOf(row), mac);
            }
        }
    });
    // The views take their columns anew from the model: each gets its stored width back.
    ForEachSection([this](int section, std::size_t column) {
        details_->setColumnWidth(section, State().options.columns[column].width / kTwipsPerPixel);
    });
    setUpdatesEnabled(true);
    state.listFilling = false;
    SelectMac(selected);
}

// The first item shows the name whether or not the name column is visible, as the icon views do.
PrinterList::RowItems PrinterList::ItemsOf(int rowIndex) {
    const PrinterRow& row = State().rows[static_cast<std::size_t>(rowIndex)];
    RowItems items{Icon(StatusIcon(row.category, row.status)), {}, {row.name}};
    bool firstUsed = false;
    for (std::size_t column = 0; column < kColumnCount; ++column) {
        if (!State().options.columns[column].visible) {
            continue;
        }
        if (!firstUsed) {
            firstUsed = true;
            if (column != kNameColumn) {
                items.texts.front() = ColumnText(row, column);
                items.toolTip = row.name;
            }
            continue;
        }
        items.texts << ColumnText(row, column);
    }
    return items;
}

void PrinterList::AddRow(const RowItems& items, const QString& mac) {
    QList<QStandardItem*> made;
    made.reserve(items.texts.size());
    auto* first = new QStandardItem(items.icon, items.texts.front());
    first->setData(mac, kMacRole);
    if (!items.toolTip.isEmpty()) {
        first->setData(items.toolTip, Qt::ToolTipRole);
    }
    made << first;
    for (qsizetype column = 1; column < items.texts.size(); ++column) {
        made << new QStandardItem(items.texts[column]);
    }
    model_->appendRow(made);
}

void PrinterList::RewriteRow(int modelRow, const RowItems& items, const QString& mac) {
    QStandardItem* first = model_->item(modelRow, 0);
    first->setIcon(items.icon);
    first->setText(items.texts.front());
    first->setData(mac, kMacRole);
    first->setData(items.toolTip.isEmpty() ? QVariant() : QVariant(items.toolTip), Qt::ToolTipRole);
    for (qsizetype column = 1; column < items.texts.size(); ++column) {
        model_->item(modelRow, static_cast<int>(column))->setText(items.texts[column]);
    }
}

QString PrinterList::SelectedMac() const {
    const QModelIndex index = details_->selectionModel()->currentIndex();
    if (!index.isValid() || !details_->selectionModel()->isRowSelected(index.row(), QModelIndex())) {
        return {};
    }
    return model_->item(index.row(), 0)->data(kMacRole).toString();
}

void PrinterList::SelectCurrentPrinter() {
    ConsoleState& state = State();
    state.currentRow = -1;
    const QString mac = SelectedMac();
    if (mac.isEmpty()) {
        return;
    }
    for (std::size_t row = 0; row < state.rows.size(); ++row) {
        if (SameMac(state.rows[row].mac, mac)) {
            state.currentRow = static_cast<int>(row);
            return;
        }
    }
}

std::vector<int> PrinterList::RowsOf(const QString& mac) const {
    std::vector<int> found;
    const std::vector<PrinterRow>& rows = State().rows;
    for (int row = 0; row < static_cast<int>(rows.size()) && row < model_->rowCount(); ++row) {
        if (SameMac(rows[static_cast<std::size_t>(row)].mac, mac) &&
            SameMac(model_->item(row, 0)->data(kMacRole).toString(), mac)) {
            found.push_back(row);
        }
    }
    return found;
}

void PrinterList::SelectMac(const QString& mac) {
    const std::vector<int> rows = mac.isEmpty() ? std::vector<int>() : RowsOf(mac);
    if (rows.empty()) {
        return;
    }
    const QModelIndex index = model_->index(rows.front(), 0);
    details_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    details_->scrollTo(index);
}

int PrinterList::StatusSection() const {
    const DisplayOptions& options = State().options;
    if (!options.columns[kStatusColumn].visible) {
        return -1;
    }
    int section = 0;
    for (std::size_t column = 0; column < kStatusColumn; ++column) {
        section += options.columns[column].visible ? 1 : 0;
    }
    return section;
}

void PrinterList::ShowStatus(const QString& mac, std::int32_t status, std::uint32_t category) {
    const int section = StatusSection();
    for (const int row : RowsOf(mac)) {
        QStandardItem* first = model_->item(row, 0);
        first->setIcon(Icon(StatusIcon(category, status)));
        if (section >= 0 && section < model_->columnCount()) {
            model_->item(row, section)->setText(RowStatusText(status, 1));
        }
    }
}

}  // namespace console
