#include "console/netware/NameListGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>

#include <algorithm>

#include "console/core/FormHelpers.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "console/netware/NetWareForms.h"
#include "console/netware/NetWareLibraries.h"

namespace console {

namespace {

constexpr int kEmptyMark = 306;
constexpr int kBrowseError = 307;
constexpr int kKindRole = Qt::UserRole;
constexpr int kPictureColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kPictureMargin = 15;
constexpr char kContainer = 'C';
constexpr char kObject = 'O';

bool busy = false;
bool filled = false;

// Marks the grid busy for as long as it lives.
class GridChange {
  public:
    GridChange() : was_(busy) { busy = true; }
    ~GridChange() { busy = was_; }
    GridChange(const GridChange&) = delete;
    GridChange& operator=(const GridChange&) = delete;

  private:
    bool was_;
};

void AddRow(QTableWidget* grid, const QString& name, QChar kind, const QIcon& picture) {
    const int row = grid->rowCount();
    grid->insertRow(row);
    auto* pictureCell = new QTableWidgetItem(picture, QString());
    auto* nameCell = new QTableWidgetItem(name);
    for (QTableWidgetItem* cell : {pictureCell, nameCell}) {
        cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        cell->setData(kKindRole, kind);
    }
    grid->setItem(row, kPictureColumn, pictureCell);
    grid->setItem(row, kNameColumn, nameCell);
}

// The picture column as wide as the wider picture and a margin; the names take the rest.
void SizeColumns(QTableWidget* grid, const GridPictures& pictures) {
    const QSize size = grid->iconSize();
    const int picture =
        std::max(pictures.object.actualSize(size).width(), pictures.container.actualSize(size).width());
    grid->setColumnWidth(kPictureColumn, picture + kPictureMargin);
    grid->horizontalHeader()->setStretchLastSection(true);
}

// Every token of a NameList; a malformed record ends the list.
QStringList ListTokens(const QString& list) {
    QStringList tokens;
    NameListReader reader;
    bool done = list.isEmpty();
    for (QString token = done ? QString() : reader.Next(list, done);; token = reader.Next({}, done)) {
        if (!token.isEmpty()) {
            tokens << token;
        }
        if (done) {
            return tokens;
        }
    }
}

// An empty grid about to take real rows.
void StartRows(QTableWidget* grid, const GridPictures& pictures) {
    ClearGrid(grid);
    SizeColumns(grid, pictures);
    filled = true;
}

QChar RowKind(const QTableWidget* grid, int row) {
    const QTableWidgetItem* cell =
        row >= 0 && row < grid->rowCount() ? grid->item(row, kNameColumn) : nullptr;
    return cell != nullptr ? cell->data(kKindRole).toChar() : QChar();
}

}  // namespace

bool GridBusy() {
    return busy;
}

bool GridFilled() {
    return filled;
}

void ClearGrid(QTableWidget* grid) {
    const GridChange change;
    grid->clearContents();
    grid->setRowCount(0);
}

void HighlightGridRow(QTableWidget* grid, int row) {
    if (busy || row < 0 || row >= grid->rowCount()) {
        return;
    }
    grid->setCurrentCell(row, kNameColumn);
    grid->setRangeSelected(QTableWidgetSelectionRange(row, 0, row, grid->columnCount() - 1), true);
}

void ShowGridMark(QTableWidget* grid, const QString& mark) {
    const GridChange change;
    ClearGrid(grid);
    AddRow(grid, mark, QChar(), QIcon());
    filled = false;
}

void FillGrid(QTableWidget* grid, const QString& list, const GridPictures& pictures) {
    const QStringList tokens = ListTokens(list);
    const GridChange change;
    if (tokens.size() < 2) {
        ShowGridMark(grid, LoadString(kEmptyMark));
        return;
    }
    StartRows(grid, pictures);
    for (qsizetype name = 0; name + 1 < tokens.size(); name += 2) {
        const bool container = tokens[name + 1] == QChar(kContainer);
        AddRow(grid, tokens[name], container ? kContainer : kObject,
               container ? pictures.container : pictures.object);
    }
}

void FillNameGrid(QTableWidget* grid, const QString& list, const GridPictures& pictures,
                  const QString& emptyMark) {
    const QStringList tokens = ListTokens(list);
    const GridChange change;
    if (tokens.isEmpty()) {
        ShowGridMark(grid, emptyMark);
        return;
    }
    StartRows(grid, pictures);
    for (const QString& name : tokens) {
        AddRow(grid, name, kObject, pictures.object);
    }
}

bool IsContainerRow(const QTableWidget* grid, int row) {
    return RowKind(grid, row) == QChar(kContainer);
}

bool IsObjectRow(const QTableWidget* grid, int row) {
    return RowKind(grid, row) == QChar(kObject);
}

QString GridRowName(const QTableWidget* grid, int row) {
    return RowKind(grid, row).isNull() ? QString() : grid->item(row, kNameColumn)->text();
}

QString ParentContext(const QString& context) {
    const qsizetype dot = context.indexOf('.');
    return dot < 0 ? QString(kRootContext) : context.mid(dot + 1);
}

QString ChildContext(const QString& name, const QString& context) {
    return context == kRootContext || context.isEmpty() ? name : name + '.' + context;
}

int BrowseNds(QTableWidget* grid, const QString& tree, const QString& context, const QString& className,
              const GridPictures& pictures) {
    QByteArray treeText = NetWareText(tree);
    const QByteArray contextText = NetWareText(context);
    const QByteArray classText = NetWareText(className);
    const NetWareList list = ReadNetWareList([&](char* buffer, std::uint32_t* length, std::int32_t* count) {
        return tessik::NwNdsBrowse(treeText.data(), contextText.constData(), classText.constData(), buffer,
                                   length, count);
    });
    if (list.result != kNwOk) {
        ShowResult(list.result, kWarning);
        ShowGridMark(grid, LoadString(kBrowseError));
        return list.result;
    }
    FillGrid(grid, list.text, pictures);
    return kNwOk;
}

void FillNdsTree(QTableWidget* grid, const QString& tree, QLineEdit* context, const QString& className,
                 const GridPictures& pictures) {
    context->setText(ParentContext(context->text()));
    BrowseNds(grid, tree, context->text(), className, pictures);
}

void ExpandNdsNode(QTableWidget* grid, const QString& tree, QLineEdit* context, const QString& className,
                   const GridPictures& pictures) {
    const int row = grid->currentRow();
    if (!IsContainerRow(grid, row)) {
        return;
    }
    context->setText(ChildContext(GridRowName(grid, row), context->text()));
    BrowseNds(grid, tree, context->text(), className, pictures);
}

}  // namespace console
